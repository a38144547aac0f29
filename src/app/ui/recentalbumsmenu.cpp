#include "recentalbumsmenu.h"

#include "albumcommands.h"
#include "core/commandids.h"
#include "core/commandset.h"
#include "mainframe.h"
#include "platform/fillin.h"
#include "platform/host.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>

namespace glimmerix
{

RecentAlbumsMenu::RecentAlbumsMenu(CMainFrame &frame, SettingsStore &store)
    : QObject(&frame)
    , m_frame(frame)
    , m_albums(store)
    , m_menu(new QMenu(tr("Recent A&lbums"), &frame))
{
    m_menu->setObjectName(QStringLiteral("recentAlbums"));
    m_menu->setToolTipsVisible(true);
    // Placed with the other ways of opening an album, under Open Album.
    if (auto *file = frame.menuBar()->findChild<QMenu *>(QLatin1String(kFileMenu)))
        file->insertMenu(frame.action(Command::kOpenInNewWindow), m_menu);
    connect(m_menu, &QMenu::aboutToShow, this, &RecentAlbumsMenu::fill);
    // Every album opened (Open, Open Album, the album list, the start) or saved under a name
    // passes here; the document's recentFileAdded covers only album-list switches, which raise
    // this as well.
    connect(&frame, &CMainFrame::lastFileChanged, this,
        [this](const QString &path) { m_albums.add(path); });
    fill();
}

void RecentAlbumsMenu::fill()
{
    m_menu->clear();
    const QStringList paths = m_albums.paths();
    for (int i = 0; i < paths.size(); ++i) {
        const QString &path = paths[i];
        QAction *action = m_menu->addAction(
            fillIn(QStringLiteral("&%1 %2"), (i + 1) % 10, QFileInfo(path).completeBaseName()));
        action->setToolTip(path);
        action->setData(path);
        connect(action, &QAction::triggered, this, [this, path] { openRecent(path); });
    }
    m_menu->setEnabled(!paths.isEmpty());
}

void RecentAlbumsMenu::openRecent(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        m_albums.remove(path);
        fill();
        host().showText(tr("The album %1 is no longer there; it was taken off the list of recent "
                           "albums.")
                            .arg(path),
            MessageIcon::Warning, MessageButtons::Ok, 0);
        return;
    }
    m_frame.albumCommands()->switchToAlbum(path);
}

} // namespace glimmerix
