#include "iconpicture.h"

#include "core/messageids.h"
#include "dibimage.h"
#include "imaging/bmpcodec.h"
#include "platform/host.h"
#include "platform/paths.h"

#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QMimeDatabase>
#include <QPainter>
#include <QStandardPaths>

#include <utility>

namespace glimmerix
{

namespace
{

// Without a desktop session (the command-line tool, a bare window manager) Qt knows no icon
// theme; the desktop's usual one, when installed, gives the file types their icons.
void useInstalledIconThemeWhenNoneIsSet()
{
    if (!QIcon::themeName().isEmpty())
        return;
    const QStringList folders = QStandardPaths::locateAll(QStandardPaths::GenericDataLocation,
        QStringLiteral("icons"), QStandardPaths::LocateDirectory);
    QStringList searchPaths = QIcon::themeSearchPaths();
    for (const QString &folder : folders) {
        if (!searchPaths.contains(folder))
            searchPaths.append(folder);
    }
    QIcon::setThemeSearchPaths(searchPaths);
    for (const char *theme : { "Adwaita", "breeze", "hicolor" }) {
        const QString name = QString::fromLatin1(theme);
        for (const QString &folder : folders) {
            if (QFileInfo::exists(folder + u'/' + name + QStringLiteral("/index.theme"))) {
                QIcon::setThemeName(name);
                return;
            }
        }
    }
}

thread_local bool t_shellIconWanted = false;

} // namespace

QString iconPicturePath(const char *name)
{
    return joinPath(resourceFolder(), QString::fromLatin1(name));
}

BlockHandle readIconPicture(const char *name)
{
    const QString path = iconPicturePath(name);
    QFile file(path);
    BlockHandle block = 0;
    if (file.open(QIODevice::ReadOnly)) {
        const DecodeResult read = readBmp(file, false);
        if (read.status == DecodeStatus::Ok)
            block = read.block;
        else if (isBlockHandle(read.block))
            blockFree(read.block);
    }
    if (!isBlockHandle(block))
        host().showMessage(Message::kIconPictureMissing, { path }, MessageIcon::Warning);
    return block;
}

BlockHandle shellIconPicture(const QString &path)
{
    // Pixmaps and the icon theme belong to the user-interface thread.
    if (hasThreadHost()) {
        t_shellIconWanted = true;
        return 0;
    }
    static QMimeDatabase mimeDatabase;
    const QMimeType type = mimeDatabase.mimeTypeForFile(path);
    if (!type.isValid() || type.isDefault())
        return 0;
    useInstalledIconThemeWhenNoneIsSet();
    QIcon icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull())
        icon = QIcon::fromTheme(type.genericIconName());
    if (icon.isNull())
        return 0;
    constexpr int kSide = 32;
    QImage canvas(kSide, kSide, QImage::Format_RGB888);
    canvas.fill(QColor(192, 192, 192));
    const QPixmap pixmap = icon.pixmap(kSide, kSide);
    if (pixmap.isNull())
        return 0;
    QPainter painter(&canvas);
    painter.drawPixmap(0, 0, pixmap);
    painter.end();
    return imageToDibBlock(canvas);
}

bool takeShellIconWanted()
{
    return std::exchange(t_shellIconWanted, false);
}

} // namespace glimmerix
