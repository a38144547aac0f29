#pragma once

#include "app/recentalbums.h"

#include <QObject>

class QMenu;

namespace glimmerix
{

class CMainFrame;

// File > Recent Albums: the albums opened last, by name, each with its path as tool tip. It
// learns every album the window opens or saves under a name; an album chosen whose file is gone
// is taken off the list with a message.
class RecentAlbumsMenu final : public QObject
{
    Q_OBJECT
public:
    RecentAlbumsMenu(CMainFrame &frame, SettingsStore &store);

    QMenu *menu() const { return m_menu; }
    RecentAlbums &albums() { return m_albums; }
    // Opens the listed album at `path` as the menu's entry does.
    void openRecent(const QString &path);

private:
    void fill();

    CMainFrame &m_frame;
    RecentAlbums m_albums;
    QMenu *m_menu;
};

} // namespace glimmerix
