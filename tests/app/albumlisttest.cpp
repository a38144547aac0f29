#include "app/albumlist.h"

#include "support/testenvironment.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

const QString kUntitled = QStringLiteral("(New Album)");

QString makeAlbumsFolder(const QStringList &names)
{
    const QString folder = makeTestFolder(QStringLiteral("albums"));
    for (const QString &name : names) {
        QFile file(folder + u'/' + name);
        file.open(QIODevice::WriteOnly);
    }
    return folder;
}

TEST(AlbumList, EntriesSortedThenUntitledThenOutsideAlbum)
{
    const QString folder = makeAlbumsFolder({ "trip.gmx", "Birthday.gmx", "notes.txt", "ZOO.GMX" });
    const AlbumListModel model = buildAlbumList(folder, kUntitled, "/elsewhere/Party.gmx", {});
    EXPECT_EQ(model.entries, (QStringList { "Birthday", "trip", "ZOO", kUntitled, "Party*" }));
    EXPECT_EQ(model.selected, 0);
    EXPECT_EQ(model.currentName, folder + "/Birthday.gmx");
    // An entry of an album whose extension is upper case leads to that file; a new name still
    // gets the lower-case extension, and letter case in the name itself still counts.
    EXPECT_EQ(albumPathForEntry("ZOO", folder, kUntitled, {}), folder + "/ZOO.GMX");
    EXPECT_EQ(albumPathForEntry("zoo", folder, kUntitled, {}), folder + "/zoo.gmx");
    EXPECT_EQ(albumPathForEntry("New", folder, kUntitled, {}), folder + "/New.gmx");
}

TEST(AlbumList, SelectsTheCurrentAlbum)
{
    const QString folder = makeAlbumsFolder({ "a.gmx", "b.gmx" });
    struct Case {
        const char *name;
        QString current;
        QString external;
        int selected;
    };
    const Case cases[] = {
        { "name with suffix", "b.gmx", {}, 1 },
        { "full path in the albums folder", folder + "/b.gmx", {}, 1 },
        { "untitled", kUntitled, {}, 2 },
        { "outside album is the starred entry", "/x/c.gmx", "/x/c.gmx", 3 },
        { "unknown name selects the first", "zzz", {}, 0 },
    };
    for (const Case &c : cases) {
        const AlbumListModel model = buildAlbumList(folder, kUntitled, c.external, c.current);
        EXPECT_EQ(model.selected, c.selected) << c.name;
    }
}

TEST(AlbumList, EntryPathsAndNewWindowArguments)
{
    EXPECT_EQ(albumPathForEntry("trip", "/a/ALBUMS", kUntitled, {}), "/a/ALBUMS/trip.gmx");
    EXPECT_EQ(albumPathForEntry(kUntitled, "/a/ALBUMS", kUntitled, {}), kUntitled);
    EXPECT_EQ(albumPathForEntry("Party*", "/a/ALBUMS", kUntitled, "/x/Party.gmx"), "/x/Party.gmx");
    EXPECT_TRUE(newWindowArguments(kUntitled, "/a/ALBUMS", kUntitled, {}).isEmpty());
    // A name with blanks stays one argument: no command-line string is split.
    EXPECT_EQ(newWindowArguments("My trip", "/a/ALBUMS", kUntitled, {}),
        (QStringList { "/a/ALBUMS/My trip.gmx" }));
}

} // namespace
