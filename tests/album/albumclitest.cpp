#include "support/testenvironment.h"

#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

namespace
{

struct CliRun {
    int status;
    QByteArray out;
    QByteArray err;
};

CliRun cli(const QStringList &args)
{
    QProcess process;
    process.start(joinPath(programFolder(), QStringLiteral("glimix-cli")), args);
    process.waitForFinished(60000);
    return { process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError() };
}

} // namespace

TEST(AlbumCli, MakesFillsListsAndEditsAnAlbum)
{
    const QString media = makeTestFolder(QStringLiteral("media"));
    for (int i = 0; i < 3; ++i) {
        QImage image(40 + i, 30, QImage::Format_RGB888);
        image.fill(qRgb(0, 0, 50 * i));
        image.save(joinPath(media, QStringLiteral("p%1.bmp").arg(i)), "BMP");
    }
    QFile::copy(
        fixturePath(QStringLiteral("album/clip.avi")), joinPath(media, QStringLiteral("c.avi")));
    QFile(joinPath(media, QStringLiteral("notes.txt"))).open(QIODevice::WriteOnly);

    ASSERT_EQ(
        cli({ QStringLiteral("album"), QStringLiteral("new"), QStringLiteral("trip") }).status, 0);
    EXPECT_NE(
        cli({ QStringLiteral("album"), QStringLiteral("new"), QStringLiteral("trip") }).status, 0);
    CliRun added = cli({ QStringLiteral("album"), QStringLiteral("add"), QStringLiteral("trip"),
        media, joinPath(media, QStringLiteral("p1.bmp")) });
    EXPECT_EQ(added.status, 0) << added.err.constData();
    EXPECT_TRUE(added.err.contains("p1.bmp is already in the album"));

    EXPECT_EQ(cli({ QStringLiteral("album"), QStringLiteral("set-text"), QStringLiteral("trip"),
                      QStringLiteral("1"), QStringLiteral("keywords"), QStringLiteral("sea") })
                  .status,
        0);
    EXPECT_EQ(cli({ QStringLiteral("album"), QStringLiteral("set-caption"), QStringLiteral("trip"),
                      QStringLiteral("Summer") })
                  .status,
        0);
    EXPECT_EQ(cli({ QStringLiteral("album"), QStringLiteral("attach"), QStringLiteral("trip"),
                      QStringLiteral("0"), joinPath(media, QStringLiteral("c.avi")),
                      QStringLiteral("memo") })
                  .status,
        0);

    const CliRun listed = cli({ QStringLiteral("album"), QStringLiteral("list"),
        QStringLiteral("trip"), QStringLiteral("--json") });
    ASSERT_EQ(listed.status, 0);
    const QJsonObject album = QJsonDocument::fromJson(listed.out).object();
    EXPECT_EQ(album.value(QStringLiteral("caption")).toString(), QStringLiteral("Summer"));
    const QJsonArray items = album.value(QStringLiteral("items")).toArray();
    ASSERT_EQ(items.size(), 4); // c.avi, p0, p1, p2 in name order; notes.txt is no media file
    const QJsonObject first = items[0].toObject();
    EXPECT_TRUE(first.value(QStringLiteral("path")).toString().endsWith(QStringLiteral("/c.avi")));
    EXPECT_TRUE(first.value(QStringLiteral("isMedia")).toBool());
    EXPECT_EQ(first.value(QStringLiteral("sourceWidth")).toInt(), 96);
    EXPECT_EQ(first.value(QStringLiteral("attachmentName")).toString(), QStringLiteral("memo"));
    const QJsonObject second = items[1].toObject();
    for (const char *key : { "fileSize", "fileTime", "sourceHeight", "sourceBitDepth", "thumbWidth",
             "thumbHeight", "dataSize", "description", "caption", "attachmentPath", "exists" })
        EXPECT_TRUE(second.contains(QLatin1String(key))) << key;
    EXPECT_EQ(second.value(QStringLiteral("keywords")).toString(), QStringLiteral("sea"));
    EXPECT_EQ(second.value(QStringLiteral("thumbWidth")).toInt(), 40);

    const QString bitmap = joinPath(media, QStringLiteral("thumb.bmp"));
    EXPECT_EQ(cli({ QStringLiteral("album"), QStringLiteral("thumbnail"), QStringLiteral("trip"),
                      QStringLiteral("3"), bitmap })
                  .status,
        0);
    const QImage thumb(bitmap, "BMP");
    EXPECT_EQ(thumb.size(), QSize(42, 30));
    EXPECT_EQ(thumb.pixel(3, 3), qRgb(0, 0, 100));

    EXPECT_EQ(cli({ QStringLiteral("album"), QStringLiteral("sort"), QStringLiteral("trip"),
                      QStringLiteral("name"), QStringLiteral("--descending") })
                  .status,
        0);
    EXPECT_EQ(cli({ QStringLiteral("album"), QStringLiteral("remove"), QStringLiteral("trip"),
                      QStringLiteral("0"), QStringLiteral("1") })
                  .status,
        0);
    const CliRun facts
        = cli({ QStringLiteral("album"), QStringLiteral("facts"), QStringLiteral("trip") });
    EXPECT_TRUE(facts.out.contains("items: 2")) << facts.out.constData();
    const CliRun plain
        = cli({ QStringLiteral("album"), QStringLiteral("list"), QStringLiteral("trip") });
    EXPECT_TRUE(plain.out.contains("p0.bmp"));
    EXPECT_TRUE(plain.out.contains("c.avi"));
    EXPECT_FALSE(plain.out.contains("p2.bmp"));
    EXPECT_EQ(cli({ QStringLiteral("album"), QStringLiteral("thumbnail"), QStringLiteral("trip"),
                      QStringLiteral("7"), bitmap })
                  .status,
        1);
}
