// What photos say about themselves, through the command-line tool: texts taken on import, the
// "taken" sort key, the facts in `album list --json` and `info`.

#include "support/processrun.h"
#include "support/testenvironment.h"

#include "album/picturetexts.h"
#include "media/clipfacts.h"
#include "platform/paths.h"

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

bool haveTools()
{
    return !QStandardPaths::findExecutable(QStringLiteral("exiftool")).isEmpty()
        && !QStandardPaths::findExecutable(QStringLiteral("convert")).isEmpty();
}

QString photo(const QString &folder, const QString &name, const QStringList &tags, int fileYear)
{
    const QString path = joinPath(folder, name);
    EXPECT_EQ(
        runProgram(QStringLiteral("convert"),
            { QStringLiteral("-size"), QStringLiteral("30x20"), QStringLiteral("xc:teal"), path })
            .status,
        0);
    if (!tags.isEmpty()) {
        EXPECT_EQ(runProgram(QStringLiteral("exiftool"),
                      QStringList { QStringLiteral("-q"), QStringLiteral("-overwrite_original") }
                          + tags + QStringList { path })
                      .status,
            0);
    }
    QFile file(path);
    file.open(QIODevice::ReadWrite);
    file.setFileTime(
        QDateTime(QDate(fileYear, 6, 1), QTime(12, 0), Qt::UTC), QFileDevice::FileModificationTime);
    return path;
}

QJsonArray listItems(const QString &album)
{
    const ProcessRun listed = runCli(
        { QStringLiteral("album"), QStringLiteral("list"), album, QStringLiteral("--json") });
    EXPECT_EQ(listed.status, 0) << listed.err.toStdString();
    return QJsonDocument::fromJson(listed.out.toUtf8())
        .object()
        .value(QStringLiteral("items"))
        .toArray();
}

QStringList names(const QJsonArray &items)
{
    QStringList result;
    for (const QJsonValue &item : items)
        result << item.toObject().value(QStringLiteral("path")).toString().section(u'/', -1);
    return result;
}

} // namespace

TEST(PictureFactsCli, ImportTakesTextsSortsByDateTakenAndListsCameraFacts)
{
    if (!haveTools())
        GTEST_SKIP() << "exiftool and ImageMagick are needed";
    const QString folder = makeTestFolder();
    const QString longCaption = QString(300, u'é');
    // Taken 2019 (file 2024); no date (file 2022); taken 2021-05-05 14:00+02:00, which is 12:00
    // UTC (file 2010); taken the same day 13:30+00:00, later though its clock time is earlier
    // (file 2011).
    photo(folder, QStringLiteral("a.jpg"),
        { QStringLiteral("-DateTimeOriginal=2019:03:01 08:00:00"), QStringLiteral("-Make=Canon"),
            QStringLiteral("-Model=EOS R5"), QStringLiteral("-FNumber=4"),
            QStringLiteral("-XMP-dc:Subject=alpha"), QStringLiteral("-IPTC:Keywords=beta"),
            QStringLiteral("-XMP-dc:Title=Ünïcode title"),
            QStringLiteral("-XMP-dc:Description=") + longCaption },
        2024);
    photo(folder, QStringLiteral("b.jpg"), {}, 2022);
    photo(folder, QStringLiteral("c.jpg"),
        { QStringLiteral("-DateTimeOriginal=2021:05:05 14:00:00"),
            QStringLiteral("-OffsetTimeOriginal=+02:00") },
        2010);
    photo(folder, QStringLiteral("d.jpg"),
        { QStringLiteral("-DateTimeOriginal=2021:05:05 13:30:00"),
            QStringLiteral("-OffsetTimeOriginal=+00:00") },
        2011);
    const QString album = joinPath(folder, QStringLiteral("facts.gmx"));
    ASSERT_EQ(runCli({ QStringLiteral("album"), QStringLiteral("new"), album }).status, 0);
    const QByteArray before = fileBytes(joinPath(folder, QStringLiteral("a.jpg")));
    ASSERT_EQ(runCli({ QStringLiteral("album"), QStringLiteral("add"), album, folder }).status, 0);
    // Import reads the file and never writes it.
    EXPECT_EQ(fileBytes(joinPath(folder, QStringLiteral("a.jpg"))), before);

    QJsonArray items = listItems(album);
    ASSERT_EQ(items.size(), 4);
    const QJsonObject a = items.at(0).toObject();
    EXPECT_EQ(a.value(QStringLiteral("keywords")).toString(), QStringLiteral("alpha, beta"));
    EXPECT_EQ(a.value(QStringLiteral("caption")).toString(), QStringLiteral("Ünïcode title"));
    // 300 two-byte characters cut to the 255 bytes of the field: 127 whole characters.
    EXPECT_EQ(a.value(QStringLiteral("description")).toString(), QString(127, u'é'));
    EXPECT_EQ(a.value(QStringLiteral("make")).toString(), QStringLiteral("Canon"));
    EXPECT_EQ(a.value(QStringLiteral("model")).toString(), QStringLiteral("EOS R5"));
    EXPECT_EQ(a.value(QStringLiteral("fNumber")).toDouble(), 4);
    EXPECT_EQ(
        a.value(QStringLiteral("dateTaken")).toString(), QStringLiteral("2019-03-01T08:00:00.000"));
    // The existing keys are all still there.
    for (const char *key :
        { "path", "fileSize", "fileTime", "sourceWidth", "thumbWidth", "exists" })
        EXPECT_TRUE(a.contains(QLatin1String(key))) << key;
    EXPECT_FALSE(items.at(1).toObject().contains(QStringLiteral("make")));

    // Newest first: b by its file time (2022), d (13:30 UTC), c (12:00 UTC), a (2019).
    ASSERT_EQ(
        runCli({ QStringLiteral("album"), QStringLiteral("sort"), album, QStringLiteral("taken") })
            .status,
        0);
    EXPECT_EQ(names(listItems(album)),
        QStringList({ QStringLiteral("b.jpg"), QStringLiteral("d.jpg"), QStringLiteral("c.jpg"),
            QStringLiteral("a.jpg") }));
    ASSERT_EQ(runCli({ QStringLiteral("album"), QStringLiteral("sort"), album,
                         QStringLiteral("taken"), QStringLiteral("--descending") })
                  .status,
        0);
    EXPECT_EQ(names(listItems(album)),
        QStringList({ QStringLiteral("a.jpg"), QStringLiteral("c.jpg"), QStringLiteral("d.jpg"),
            QStringLiteral("b.jpg") }));

    const ProcessRun info
        = runCli({ QStringLiteral("info"), joinPath(folder, QStringLiteral("c.jpg")) });
    EXPECT_EQ(info.status, 0);
    EXPECT_TRUE(info.out.startsWith(QStringLiteral("width: 30\nheight: 20\n")))
        << info.out.toStdString();
    EXPECT_TRUE(info.out.contains(QStringLiteral("format: JPEG\n")));
    EXPECT_TRUE(info.out.contains(QStringLiteral("date taken: 2021-05-05 14:00:00 +02:00\n")));
    const ProcessRun json = runCli({ QStringLiteral("info"), QStringLiteral("--json"),
        joinPath(folder, QStringLiteral("a.jpg")) });
    const QJsonObject facts = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_EQ(facts.value(QStringLiteral("make")).toString(), QStringLiteral("Canon"));
    EXPECT_EQ(facts.value(QStringLiteral("width")).toInt(), 30);
}

TEST(PictureFactsCli, KeywordsFillTheFieldWithWholeWords)
{
    const QStringList words = { QString(100, u'a'), QString(100, u'b'), QString(100, u'c') };
    EXPECT_EQ(keywordsFieldText(words, 255), words[0] + QStringLiteral(", ") + words[1]);
    EXPECT_EQ(keywordsFieldText({ QString(400, u'x') }, 255), QString(400, u'x'));
    EXPECT_EQ(keywordsFieldText({}, 255), QString());
}

// A clip's date taken is the creation time its container records (MP4 and Matroska alike): it
// sorts among photos by it, and `info` shows it; a clip without one falls back to its file time.
TEST(PictureFactsCli, ClipsAreTakenWhenTheirContainerSays)
{
    if (!haveTools() || QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty())
        GTEST_SKIP() << "exiftool, ImageMagick and ffmpeg are needed";
    const QString folder = makeTestFolder();
    struct Row {
        const char *name;
        const char *creation; // the creation_time given to ffmpeg; empty for none
        int fileYear;
        const char *shown; // the date taken `info` prints; empty for none
    };
    const Row rows[] = {
        { "new.mp4", "2023-07-04T10:20:30.000000Z", 2001, "2023-07-04 10:20:30 +00:00" },
        { "old.mkv", "2015-01-02T03:04:05Z", 2030, "2015-01-02 03:04:05 +00:00" },
        { "plain.mp4", "", 2019, "" },
        { "noon.mov", "2016-08-09T12:00:00Z", 2000, "2016-08-09 12:00:00 +00:00" },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = joinPath(folder, QString::fromLatin1(row.name));
        QStringList args { QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-f"),
            QStringLiteral("lavfi"), QStringLiteral("-i"),
            QStringLiteral("testsrc=size=64x48:rate=10"), QStringLiteral("-t"),
            QStringLiteral("0.3"), QStringLiteral("-c:v"), QStringLiteral("mpeg4") };
        if (*row.creation)
            args << QStringLiteral("-metadata")
                 << QStringLiteral("creation_time=") + QString::fromLatin1(row.creation);
        args << path;
        ASSERT_EQ(runProgram(QStringLiteral("ffmpeg"), args).status, 0);
        QFile file(path);
        file.open(QIODevice::ReadWrite);
        file.setFileTime(QDateTime(QDate(row.fileYear, 6, 1), QTime(12, 0), Qt::UTC),
            QFileDevice::FileModificationTime);
        file.close();
        const QDateTime taken = clipCreationTime(path);
        EXPECT_EQ(taken.isValid(), *row.shown != 0);

        const ProcessRun info = runCli({ QStringLiteral("info"), path });
        EXPECT_EQ(info.status, 0) << info.err.toStdString();
        EXPECT_TRUE(info.out.startsWith(QStringLiteral("width: 64\nheight: 48\n")))
            << info.out.toStdString();
        if (*row.shown) {
            EXPECT_TRUE(info.out.contains(
                QStringLiteral("date taken: %1\n").arg(QString::fromLatin1(row.shown))))
                << info.out.toStdString();
        } else {
            EXPECT_FALSE(info.out.contains(QStringLiteral("date taken")));
        }
    }
    photo(folder, QStringLiteral("photo.jpg"),
        { QStringLiteral("-DateTimeOriginal=2018:01:01 09:00:00") }, 2025);
    const ProcessRun json = runCli({ QStringLiteral("info"), QStringLiteral("--json"),
        joinPath(folder, QStringLiteral("new.mp4")) });
    EXPECT_EQ(QJsonDocument::fromJson(json.out.toUtf8())
                  .object()
                  .value(QStringLiteral("dateTaken"))
                  .toString(),
        QStringLiteral("2023-07-04T10:20:30.000Z"));

    // Newest first: new.mp4 (2023), plain.mp4 by its file time (2019), photo.jpg (2018),
    // noon.mov (2016), old.mkv (2015); by file times alone the order would be upside down.
    const QString album = joinPath(folder, QStringLiteral("clips.gmx"));
    ASSERT_EQ(runCli({ QStringLiteral("album"), QStringLiteral("new"), album }).status, 0);
    QStringList add { QStringLiteral("album"), QStringLiteral("add"), album };
    for (const Row &row : rows)
        add << joinPath(folder, QString::fromLatin1(row.name));
    add << joinPath(folder, QStringLiteral("photo.jpg"));
    ASSERT_EQ(runCli(add).status, 0);
    ASSERT_EQ(
        runCli({ QStringLiteral("album"), QStringLiteral("sort"), album, QStringLiteral("taken") })
            .status,
        0);
    EXPECT_EQ(names(listItems(album)),
        QStringList({ QStringLiteral("new.mp4"), QStringLiteral("plain.mp4"),
            QStringLiteral("photo.jpg"), QStringLiteral("noon.mov"), QStringLiteral("old.mkv") }));
}
