// File > Recent Albums and the desktop's recently-used list it feeds.

#include "app/recentalbums.h"
#include "album/albumdoc.h"
#include "album/albumfolders.h"
#include "app/ui/albumcommands.h"
#include "app/ui/mainframe.h"
#include "app/ui/recentalbumsmenu.h"
#include "core/folders.h"
#include "platform/recentlyused.h"
#include "platform/settingsstore.h"
#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

const RecentlyUsedApp kApp { QStringLiteral("Glimmerix"), QStringLiteral("'glimix %u'") };

// Another program's list, with one file of its own.
const QByteArray kOtherProgramList = R"(<?xml version="1.0" encoding="UTF-8"?>
<xbel version="1.0"
      xmlns:bookmark="http://www.freedesktop.org/standards/desktop-bookmarks"
      xmlns:mime="http://www.freedesktop.org/standards/shared-mime-info"
>
  <bookmark href="file:///home/someone/notes.txt" added="2026-01-02T10:00:00.000000Z" modified="2026-01-02T10:00:00.000000Z" visited="2026-01-02T10:00:00.000000Z">
    <title>Notes &amp; plans</title>
    <info>
      <metadata owner="http://freedesktop.org">
        <mime:mime-type type="text/plain"/>
        <bookmark:applications>
          <bookmark:application name="Text Editor" exec="&apos;editor %u&apos;" modified="2026-01-02T10:00:00.000000Z" count="3"/>
        </bookmark:applications>
      </metadata>
    </info>
  </bookmark>
</xbel>
)";

// The bookmarks of a list file as href -> (mime type, application name -> count), read with the
// stream reader alone, as any other program would read it.
struct Bookmark {
    QString mime;
    QMap<QString, int> counts;
    QString title;
};
QMap<QString, Bookmark> readBookmarks(const QString &path, QString *error)
{
    QFile file(path);
    QMap<QString, Bookmark> bookmarks;
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return bookmarks;
    }
    QXmlStreamReader reader(&file);
    QString href;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QStringView name = reader.name();
        if (name == u"bookmark" && reader.namespaceUri().isEmpty()) {
            href = reader.attributes().value("href").toString();
            bookmarks[href];
        } else if (name == u"mime-type") {
            bookmarks[href].mime = reader.attributes().value("type").toString();
        } else if (name == u"application") {
            bookmarks[href].counts[reader.attributes().value("name").toString()]
                = reader.attributes().value("count").toInt();
        } else if (name == u"title") {
            bookmarks[href].title = reader.readElementText();
        }
    }
    if (reader.hasError())
        *error = reader.errorString();
    return bookmarks;
}

TEST(RecentlyUsed, AddsAndMarksAgainKeepingAnotherProgramsEntries)
{
    const QString dataHome = makeTestFolder(QStringLiteral("data"));
    qputenv("XDG_DATA_HOME", dataHome.toUtf8());
    const QString list = recentlyUsedPath();
    EXPECT_EQ(list, dataHome + "/recently-used.xbel");
    writeFile(list, kOtherProgramList);

    const QString album = QStringLiteral("/photos/Summer Trip.gmx");
    ASSERT_EQ(addToRecentlyUsed(list, album, "application/x-glimmerix-album", kApp), QString());
    ASSERT_EQ(addToRecentlyUsed(list, album, "application/x-glimmerix-album", kApp), QString());
    QString error;
    const QMap<QString, Bookmark> bookmarks = readBookmarks(list, &error);
    EXPECT_EQ(error, QString());
    ASSERT_EQ(bookmarks.size(), 2);
    const Bookmark other = bookmarks.value("file:///home/someone/notes.txt");
    EXPECT_EQ(other.mime, "text/plain");
    EXPECT_EQ(other.counts.value("Text Editor"), 3);
    EXPECT_EQ(other.title, "Notes & plans");
    const Bookmark ours = bookmarks.value("file:///photos/Summer%20Trip.gmx");
    EXPECT_EQ(ours.mime, "application/x-glimmerix-album");
    EXPECT_EQ(ours.counts.value("Glimmerix"), 2);
    EXPECT_FALSE(QFile::exists(list + ".bad"));

    // A file that is not a bookmark list is left as it is and the cause named.
    writeFile(list, "<xbel><bookmark");
    const QString refused = addToRecentlyUsed(list, album, "application/x-glimmerix-album", kApp);
    EXPECT_TRUE(refused.startsWith(list)) << qPrintable(refused);
    EXPECT_EQ(fileBytes(list), "<xbel><bookmark");

    // A new list is the user's alone, and the list stays bounded, the oldest going first.
    QFile::remove(list);
    QDateTime when = QDateTime::fromString("2026-03-01T00:00:00Z", Qt::ISODate);
    constexpr int kLimit = 20;
    for (int i = 0; i < kLimit + 5; ++i)
        ASSERT_EQ(addToRecentlyUsed(list, QStringLiteral("/a/%1.gmx").arg(i),
                      "application/x-glimmerix-album", kApp, when.addSecs(i), kLimit),
            QString());
    EXPECT_EQ(QFile::permissions(list) & 0xF0FF, QFile::ReadOwner | QFile::WriteOwner);
    const QMap<QString, Bookmark> bounded = readBookmarks(list, &error);
    EXPECT_EQ(bounded.size(), kLimit);
    EXPECT_FALSE(bounded.contains("file:///a/4.gmx"));
    EXPECT_TRUE(bounded.contains("file:///a/5.gmx"));
}

// Albums opened in the window land in the menu, newest first, ten at most, inside and outside
// the albums folder; a gone album chosen is taken off with a message.
TEST(RecentAlbumsMenuTest, ListsTheLastTenAndDropsAMissingOne)
{
    RecordingHost host;
    qputenv("XDG_DATA_HOME", makeTestFolder(QStringLiteral("data")).toUtf8());
    const QString config = makeTestFolder(QStringLiteral("config"));
    SettingsStore store(SettingsFiles { config + "/user.reg", config + "/machine.reg", {} });
    QDir().mkpath(albumsFolder());
    const QString outside = makeTestFolder(QStringLiteral("outside"));
    QStringList albums;
    for (int i = 0; i < 12; ++i) {
        CAlbumDoc album;
        album.onNewDocument();
        const QString path = i % 2 ? outside + QStringLiteral("/Away %1.gmx").arg(i)
                                   : albumsFolder() + QStringLiteral("/Home %1.gmx").arg(i);
        ASSERT_TRUE(album.onSaveDocument(path));
        albums.append(path);
    }
    CMainFrame frame;
    auto *recent = new RecentAlbumsMenu(frame, store);
    EXPECT_FALSE(recent->menu()->isEnabled());
    for (const QString &album : albums)
        ASSERT_TRUE(frame.albumCommands()->switchToAlbum(album));
    ASSERT_TRUE(frame.albumCommands()->switchToAlbum(albums[5])); // again: back to the top

    QStringList expected { albums[5], albums[11], albums[10], albums[9], albums[8], albums[7],
        albums[6], albums[4], albums[3], albums[2] };
    EXPECT_EQ(RecentAlbums(store).paths(), expected);
    Q_EMIT recent->menu()->aboutToShow();
    const QList<QAction *> entries = recent->menu()->actions();
    ASSERT_EQ(entries.size(), 10);
    EXPECT_EQ(entries[0]->text(), "&1 Away 5");
    EXPECT_EQ(entries[0]->toolTip(), albums[5]);
    EXPECT_EQ(entries[9]->text(), "&0 Home 2");
    // The menu sits in the File menu.
    EXPECT_TRUE(frame.menuBar()->findChild<QMenu *>("file")->actions().contains(
        recent->menu()->menuAction()));

    QFile::remove(albums[9]);
    entries[3]->trigger();
    EXPECT_EQ(host.shown().size(), 1);
    EXPECT_TRUE(host.shown().value(0).text.contains(albums[9]));
    expected.removeAll(albums[9]);
    EXPECT_EQ(RecentAlbums(store).paths(), expected);
    EXPECT_EQ(recent->menu()->actions().size(), 9);
    EXPECT_EQ(frame.document()->pathName(), albums[5]);

    recent->menu()->actions()[1]->trigger();
    EXPECT_EQ(frame.document()->pathName(), albums[11]);
}

} // namespace
