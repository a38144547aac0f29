// What photos say about themselves, through the command-line tool: texts taken on import, the
// "taken" sort key, the facts in `album list --json` and `info`.

#include "support/processrun.h"
#include "support/testenvironment.h"

#include "album/picturetexts.h"
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
