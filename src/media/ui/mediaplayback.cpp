#include "mediaplayback.h"

#include "clipplayerwindow.h"
#include "imaging/mediafile.h"
#include "media/firstframe.h"
#include "soundplayerwindow.h"

#include <QFileInfo>
#include <QPointer>

namespace glimmerix
{

bool playInMediaWindow(const QString &path, QWidget *parent)
{
    const MediaFile file = identifyMediaFile(path);
    if (file.byExtension || !(file.isClip() || file.isSound()))
        return false;
    if (file.isClip()) {
        auto *window
            = new ClipPlayerWindow(path, QFileInfo(path).fileName(), parent, clipDisplayTurn(path));
        window->show();
        return true;
    }
    static QPointer<SoundPlayerWindow> sounds;
    if (!sounds)
        sounds = new SoundPlayerWindow(parent);
    sounds->play(path);
    return true;
}

} // namespace glimmerix
