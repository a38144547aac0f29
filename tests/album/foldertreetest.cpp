#include "albumtesthelpers.h"

#include "album/foldertree.h"
#include "album/treeimport.h"
#include "platform/host.h"
#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace glimmerix;

namespace
{

// Makes an empty file (and its folders) at `relative` below `root`; the path as bytes, so that a
// name need not be valid UTF-8.
void touch(const QString &root, const QByteArray &relative)
{
    const QByteArray path = QFile::encodeName(root) + '/' + relative;
    for (qsizetype slash = path.indexOf('/', 1); slash > 0; slash = path.indexOf('/', slash + 1))
        ::mkdir(path.left(slash).constData(), 0755);
    const int fd = ::open(path.constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0) << path.constData();
    ::close(fd);
}

void link(const QString &root, const char *relative, const char *target)
{
    const QByteArray path = QFile::encodeName(root) + '/' + relative;
    ASSERT_EQ(::symlink(target, path.constData()), 0) << relative;
}

QStringList relativeTo(const QString &root, const QStringList &paths)
{
    QStringList relative;
    for (const QString &path : paths)
        relative << QDir(root).relativeFilePath(path);
    return relative;
}

QStringList problemsOf(const QString &root, const FolderTreeWalk &walk)
{
    QStringList lines;
    for (const TreeProblem &problem : walk.problems)
        lines << QDir(root).relativeFilePath(problem.path) + QStringLiteral(": ") + problem.problem;
    return lines;
}

} // namespace

// Each row makes a tree, walks it for *.jpg and checks the files in path order and the problems,
// each named once.
TEST(FolderTreeWalk, OrderHiddenLinksNamesAndVanishing)
{
    struct Row {
        const char *name;
        std::function<void(const QString &root)> make;
        QStringList files;
        QStringList problems;
        int count = -1; // instead of `files` for the large tree
        bool needsPermissions = false;
        // Removed by the first call of `wanted`: vanishes while the tree is read.
        const char *vanishing = nullptr;
    };
    const QList<Row> rows = {
        { "path order, hidden folders and other files left out",
            [](const QString &root) {
                for (const char *name : { "b.jpg", "a/2019/x.jpg", "a/2019/w.jpg", "a.jpg",
                         "a/z.jpg", ".cache/h.jpg", "a/.thumbs/t.jpg", "notes.txt", "B.jpg" })
                    touch(root, name);
            },
            { "B.jpg", "a/2019/w.jpg", "a/2019/x.jpg", "a/z.jpg", "a.jpg", "b.jpg" }, {} },
        { "links: inside followed, out of the tree, loops and broken ones not",
            [](const QString &root) {
                touch(root, "a/p.jpg");
                touch(root, "../outside/o.jpg");
                link(root, "a/again", ".");
                link(root, "a/up", "..");
                link(root, "b", "a");
                link(root, "out", "../outside");
                link(root, "out.jpg", "../outside/o.jpg");
                link(root, "self", "self");
                link(root, "gone.jpg", "nothing.jpg");
                link(root, "p-link.jpg", "a/p.jpg");
            },
            { "a/p.jpg", "p-link.jpg" },
            { "a/again: a link to a folder already read: not followed",
                "a/up: a link to a folder already read: not followed",
                "b: a link to a folder already read: not followed",
                "gone.jpg: a link to nothing: not followed",
                "out: a link out of the folder: not followed",
                "out.jpg: a link out of the folder: not followed",
                "self: a link in a loop: not followed" } },
        { "names that are not valid UTF-8",
            [](const QString &root) {
                touch(root, "ok.jpg");
                touch(root, "bad\xff.jpg");
                touch(root, "dir\xfe/in.jpg");
            },
            { "ok.jpg" },
            { QString::fromUtf8("bad\xef\xbf\xbd.jpg: the file name is not valid UTF-8: an album "
                                "cannot hold it"),
                QString::fromUtf8(
                    "dir\xef\xbf\xbd: the folder name is not valid UTF-8: not read") } },
        { "an unreadable folder",
            [](const QString &root) {
                touch(root, "locked/in.jpg");
                touch(root, "z.jpg");
                ::chmod(QFile::encodeName(root + "/locked").constData(), 0);
            },
            { "z.jpg" }, { "locked: cannot be read: Permission denied" }, -1, true },
        { "a file vanishing while the tree is read",
            [](const QString &root) {
                touch(root, "a.jpg");
                touch(root, "b.jpg");
                touch(root, "c/d.jpg");
            },
            { "a.jpg", "c/d.jpg" }, {}, -1, false, "b.jpg" },
        { "100,000 files in 100 folders",
            [](const QString &root) {
                for (int folder = 0; folder < 100; ++folder) {
                    const QByteArray path
                        = QFile::encodeName(root) + '/' + QByteArray::number(1000 + folder);
                    ASSERT_EQ(::mkdir(path.constData(), 0755), 0);
                    const int dir = ::open(path.constData(), O_RDONLY | O_DIRECTORY);
                    for (int file = 0; file < 1000; ++file)
                        ::close(::openat(dir, (QByteArray::number(file) + ".jpg").constData(),
                            O_CREAT | O_WRONLY, 0644));
                    ::close(dir);
                }
            },
            {}, {}, 100000 },
    };
    const bool root = ::geteuid() == 0;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        if (row.needsPermissions && root)
            continue; // the superuser reads every folder
        const QString tree = makeTestFolder(QStringLiteral("tree")) + QStringLiteral("/top");
        QDir().mkpath(tree);
        row.make(tree);
        bool vanished = false;
        const FolderTreeWalk walk = walkFolderTree(tree, [&](const QString &path) {
            if (row.vanishing && !vanished) {
                vanished = QFile::remove(tree + u'/' + QString::fromUtf8(row.vanishing));
                EXPECT_TRUE(vanished);
            }
            return path.endsWith(QLatin1String(".jpg"));
        });
        if (row.count >= 0) {
            ASSERT_EQ(walk.files.size(), row.count);
            EXPECT_TRUE(std::is_sorted(walk.files.cbegin(), walk.files.cend()));
            EXPECT_TRUE(walk.files.first().endsWith(QLatin1String("1000/0.jpg")));
        } else {
            EXPECT_EQ(relativeTo(tree, walk.files), row.files);
        }
        EXPECT_EQ(problemsOf(tree, walk), row.problems);
        EXPECT_FALSE(walk.cancelled);
        ::chmod(QFile::encodeName(tree + "/locked").constData(), 0755);
    }
}

TEST(FolderTreeWalk, StopsWhenAskedAndKeepsWhatItFound)
{
    const QString tree = makeTestFolder(QStringLiteral("tree"));
    for (const char *name : { "a/1.jpg", "b/2.jpg", "c/3.jpg" })
        touch(tree, name);
    const FolderTreeWalk walk = walkFolderTree(
        tree, [](const QString &) { return true; },
        [](const QString &folder) { return !folder.endsWith(QLatin1String("/b")); });
    EXPECT_TRUE(walk.cancelled);
    EXPECT_EQ(relativeTo(tree, walk.files), QStringList { "a/1.jpg" });
}

namespace
{

QString jpeg(const QString &path, QRgb color, int width = 24)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(width, 16, QImage::Format_RGB32);
    image.fill(color);
    EXPECT_TRUE(image.save(path, "JPEG"));
    return path;
}

// Hears the import's progress; removes `vanishing` when the adding starts (after the walk).
class WatchingProgress final : public SilentProgress
{
public:
    void setRange(int maximum) override
    {
        SilentProgress::setRange(maximum);
        if (maximum > 0 && !vanishing.isEmpty())
            QFile::remove(vanishing);
    }
    void setText(const QString &text) override { texts << text; }
    QString vanishing;
    QStringList texts;
};

} // namespace

// The summary of a tree import: added, already in the album by path, the same bytes under
// another path (of an album item and of an earlier file of the tree), and the unreadable ones
// with their causes: a damaged picture, a link loop, a file that vanished before its turn.
TEST(TreeImport, SummaryCountsOnAMadeTree)
{
    RecordingHost host;
    const QString folder = makeTestFolder(QStringLiteral("photos"));
    const QString album = jpeg(folder + "/a.jpg", qRgb(200, 0, 0));
    jpeg(folder + "/b.jpg", qRgb(0, 200, 0));
    jpeg(folder + "/sub/c.jpg", qRgb(0, 0, 200), 30);
    jpeg(folder + "/sub/d.jpg", qRgb(200, 200, 0), 32);
    ASSERT_TRUE(QFile::copy(folder + "/b.jpg", folder + "/sub/b copy.jpg"));
    ASSERT_TRUE(QFile::copy(folder + "/a.jpg", folder + "/sub/a again.jpg"));
    writeFile(folder + "/broken.jpg", 100);
    link(folder, "sub/loop", "..");

    CAlbumDoc document;
    ASSERT_EQ(document.addFile(album), 1);
    WatchingProgress progress;
    progress.vanishing = folder + "/sub/d.jpg";
    const TreeImportOutcome outcome = importFolderTree(document, folder, progress);

    EXPECT_EQ(outcome.walked, 7);
    EXPECT_EQ(outcome.files.added, 2); // b.jpg, sub/c.jpg
    EXPECT_EQ(outcome.files.duplicates, 1); // a.jpg
    ASSERT_EQ(outcome.sameContent.size(), 2);
    EXPECT_EQ(outcome.sameContent[0].path, folder + "/sub/a again.jpg");
    EXPECT_EQ(outcome.sameContent[0].sameAs, album);
    EXPECT_EQ(outcome.sameContent[1].path, folder + "/sub/b copy.jpg");
    EXPECT_EQ(outcome.sameContent[1].sameAs, folder + "/b.jpg");
    ASSERT_EQ(outcome.files.failed, 3);
    EXPECT_EQ(outcome.files.skipped[0].path, folder + "/sub/loop");
    EXPECT_EQ(outcome.files.skipped[1].path, folder + "/broken.jpg");
    EXPECT_EQ(outcome.files.skipped[2].path, folder + "/sub/d.jpg");
    for (const SkippedFile &skipped : outcome.files.skipped)
        EXPECT_FALSE(skipped.problem.isEmpty()) << skipped.path.toStdString();
    EXPECT_FALSE(outcome.files.cancelled);
    EXPECT_EQ(outcome.summary(),
        "2 added, 1 already in the album, 2 the same picture under another path, 3 unreadable");

    // The album holds its item, then the added files in path order.
    ASSERT_EQ(document.itemCount(), 3);
    EXPECT_EQ(document.item(1)->absolutePath(), folder + "/b.jpg");
    EXPECT_EQ(document.item(2)->absolutePath(), folder + "/sub/c.jpg");
    EXPECT_TRUE(
        std::any_of(progress.texts.cbegin(), progress.texts.cend(), [&](const QString &text) {
            return text.startsWith("3 of 4 files\n" + folder + "/sub\nabout ");
        }));
}
