#include "platform/trash.h"

#include "support/testenvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

using namespace glimmerix;

namespace
{

// The Path= and DeletionDate= lines of a trash info file.
struct TrashInfo {
    QString path;
    QString deletionDate;
};

TrashInfo readInfo(const QString &trashedAs)
{
    const QFileInfo trashed(trashedAs);
    const QString infoPath = QDir(trashed.absolutePath() + QStringLiteral("/../info"))
                                 .filePath(trashed.fileName() + QStringLiteral(".trashinfo"));
    const QStringList lines = QString::fromUtf8(fileBytes(infoPath)).split(u'\n');
    TrashInfo info;
    EXPECT_EQ(lines.value(0), QStringLiteral("[Trash Info]")) << qPrintable(infoPath);
    for (const QString &line : lines) {
        if (line.startsWith(QLatin1String("Path=")))
            info.path = QUrl::fromPercentEncoding(line.mid(5).toLatin1());
        if (line.startsWith(QLatin1String("DeletionDate=")))
            info.deletionDate = line.mid(13);
    }
    return info;
}

// Points XDG_DATA_HOME at a fresh folder for one test.
class DataHome
{
public:
    DataHome()
        : m_previous(qgetenv("XDG_DATA_HOME"))
        , m_path(makeTestFolder(QStringLiteral("data-home")))
    {
        qputenv("XDG_DATA_HOME", m_path.toUtf8());
    }
    ~DataHome() { qputenv("XDG_DATA_HOME", m_previous); }
    const QString &path() const { return m_path; }

private:
    QByteArray m_previous;
    QString m_path;
};

} // namespace

// Files on the home's file system go to $XDG_DATA_HOME/Trash; a second file of the same name
// gets a name of its own; the info file gives the original path (percent-encoded) and the time.
TEST(Trash, FilesGoToTheHomeTrashUnderNamesOfTheirOwn)
{
    const DataHome home;
    const QString dataHome = home.path();
    const QString trash = dataHome + QStringLiteral("/Trash");
    const QString first = makeTestFolder(QStringLiteral("photos"));
    const QString second = makeTestFolder(QStringLiteral("more photos"));
    const QStringList names = { QStringLiteral("beach día 1.jpg"),
        QStringLiteral("beach día 1.jpg"), QStringLiteral("notes") };
    const QStringList originals
        = { first + u'/' + names[0], second + u'/' + names[1], first + u'/' + names[2] };
    const QStringList expectedNames = { QStringLiteral("beach día 1.jpg"),
        QStringLiteral("beach día 1.2.jpg"), QStringLiteral("notes") };
    const QRegularExpression date(QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d$"));
    for (int i = 0; i < originals.size(); ++i) {
        const QByteArray bytes = QByteArray("photo ") + QByteArray::number(i);
        writeFile(originals[i], bytes);
        const TrashResult result = moveToTrash(originals[i]);
        ASSERT_TRUE(result.trashed()) << qPrintable(result.reason);
        EXPECT_EQ(result.trashedAs, trash + QStringLiteral("/files/") + expectedNames[i]);
        EXPECT_FALSE(QFileInfo::exists(originals[i]));
        EXPECT_EQ(fileBytes(result.trashedAs), bytes);
        const TrashInfo info = readInfo(result.trashedAs);
        const QString folder
            = QFileInfo(QFileInfo(originals[i]).absolutePath()).canonicalFilePath();
        EXPECT_EQ(info.path, QDir(folder).filePath(names[i]));
        EXPECT_TRUE(date.match(info.deletionDate).hasMatch()) << qPrintable(info.deletionDate);
    }
    struct stat st {
    };
    ASSERT_EQ(::stat(QFile::encodeName(trash).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u); // a new trash is private

    const TrashResult missing = moveToTrash(first + QStringLiteral("/gone.jpg"));
    EXPECT_EQ(missing.outcome, TrashOutcome::Failed);
    EXPECT_FALSE(missing.reason.isEmpty());
}

// A file on another file system goes to the trash at that file system's top, never across to
// the home trash; the path recorded there is relative to the top.
TEST(Trash, AFileOnAnotherFileSystemGoesToThatFileSystemsTrash)
{
    const DataHome home;
    const QString dataHome = home.path();
    struct stat homeStat {
    };
    struct stat shm {
    };
    if (::stat(QFile::encodeName(dataHome).constData(), &homeStat) != 0
        || ::stat("/dev/shm", &shm) != 0 || homeStat.st_dev == shm.st_dev
        || ::access("/dev/shm", W_OK) != 0)
        GTEST_SKIP() << "no second writable file system at /dev/shm";
    QTemporaryDir folder(QStringLiteral("/dev/shm/glimmerix-trash-XXXXXX"));
    ASSERT_TRUE(folder.isValid());
    const QString file = folder.filePath(QStringLiteral("photo.jpg"));
    writeFile(file, "picture");
    const TrashResult result = moveToTrash(file);
    ASSERT_TRUE(result.trashed()) << qPrintable(result.reason);
    const QString uid = QString::number(::getuid());
    EXPECT_TRUE(result.trashedAs.startsWith(QStringLiteral("/dev/shm/.Trash")))
        << qPrintable(result.trashedAs);
    EXPECT_TRUE(result.trashedAs.contains(uid)) << qPrintable(result.trashedAs);
    EXPECT_EQ(
        readInfo(result.trashedAs).path, QDir(QStringLiteral("/dev/shm")).relativeFilePath(file));
    EXPECT_FALSE(QFileInfo::exists(dataHome + QStringLiteral("/Trash/files/photo.jpg")));
    QFile::remove(result.trashedAs);
    QFile::remove(QFileInfo(result.trashedAs).absolutePath() + QStringLiteral("/../info/")
        + QFileInfo(result.trashedAs).fileName() + QStringLiteral(".trashinfo"));
}

// The way back: a trashed file returns to its path and its record leaves the Trash; a file whose
// place is taken, or that was emptied from the Trash, stays where it is and nothing changes.
TEST(Trash, RestoreBringsAFileBackOnlyToAFreePlace)
{
    const DataHome home;
    struct Case {
        const char *name;
        std::function<void(const QString &original, const QString &trashed)> meanwhile;
        RestoreOutcome expected;
    };
    const Case cases[] = {
        { "free place", [](const QString &, const QString &) {}, RestoreOutcome::Restored },
        { "place taken",
            [](const QString &original, const QString &) { writeFile(original, "newcomer"); },
            RestoreOutcome::Occupied },
        { "emptied from the Trash",
            [](const QString &, const QString &trashed) { QFile::remove(trashed); },
            RestoreOutcome::Gone },
    };
    for (const Case &row : cases) {
        SCOPED_TRACE(row.name);
        const QString original = makeTestFolder(QStringLiteral("restore")) + "/photo 1.jpg";
        writeFile(original, "picture");
        const TrashResult trashed = moveToTrash(original);
        ASSERT_TRUE(trashed.trashed());
        const QFileInfo place(trashed.trashedAs);
        const QString info = place.absolutePath() + QStringLiteral("/../info/") + place.fileName()
            + QStringLiteral(".trashinfo");
        ASSERT_TRUE(QFile::exists(info));
        row.meanwhile(original, trashed.trashedAs);
        const QByteArray there = fileBytes(original);

        const RestoreResult result = restoreFromTrash(trashed.trashedAs, original);
        EXPECT_EQ(result.outcome, row.expected);
        if (row.expected == RestoreOutcome::Restored) {
            EXPECT_EQ(fileBytes(original), QByteArray("picture"));
            EXPECT_FALSE(QFile::exists(trashed.trashedAs));
            EXPECT_FALSE(QFile::exists(info));
        } else {
            EXPECT_FALSE(result.reason.isEmpty());
            EXPECT_EQ(fileBytes(original), there);
            EXPECT_TRUE(QFile::exists(info));
        }
    }
}
