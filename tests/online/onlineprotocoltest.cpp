#include "online/onlineprotocol.h"
#include "online/onlinejobs.h"
#include "online/uploadbody.h"

#include <gtest/gtest.h>

using namespace glimmerix;

TEST(OnlineProtocol, ListLinesAreCutBeforeTheirTag)
{
    ListLineReader reader("count=2<br>\nno tag here\n<only tag\nid=3<b>x<i>\nlast<br>");
    EXPECT_EQ(reader.next(), QByteArray("count=2"));
    EXPECT_EQ(reader.next(), QByteArray());
    EXPECT_EQ(reader.next(), QByteArray());
    EXPECT_EQ(reader.next(), QByteArray("id=3"));
    EXPECT_FALSE(reader.atEnd());
    EXPECT_EQ(reader.next(), QByteArray("last<br>")); // the end of the data comes back uncut
    EXPECT_TRUE(reader.atEnd());
}

TEST(OnlineProtocol, NumberLines)
{
    const struct {
        const char *line;
        std::optional<int> number;
    } rows[] = {
        { "count=12", 12 },
        { "id=12=7", 7 }, // the number after the last "="
        { "fields=3 pictures", 3 },
        { "count=", 0 },
        { "count=x9", 0 },
        { "no equals sign", std::nullopt },
        { "id=99999999999999", std::numeric_limits<int>::max() },
    };
    for (const auto &row : rows)
        EXPECT_EQ(numberLineValue(row.line), row.number) << row.line;
}

TEST(OnlineProtocol, ImageListRecords)
{
    // Counts 2 and 2 take three field lines per picture.
    QList<RemoteImage> images;
    const QByteArray reply = "count=2<br>\nfields=2<br>\n"
                             "id=12=7<br>\nfilename=a.jpg<br>\ncaption=First<br>\n"
                             "id=8<br>\nkeyword=sea<br>\ndescrip=Second<br>\n";
    ASSERT_EQ(parseImageList(reply, images), ListResult::Listed);
    ASSERT_EQ(images.size(), 2);
    EXPECT_EQ(images[0].id, 7);
    EXPECT_EQ(images[0].filename, QStringLiteral("a.jpg"));
    EXPECT_EQ(images[0].caption, QStringLiteral("First"));
    EXPECT_EQ(images[1].id, 8);
    EXPECT_EQ(images[1].keyword, QStringLiteral("sea"));
    EXPECT_EQ(images[1].descrip, QStringLiteral("Second"));
    EXPECT_TRUE(images[1].filename.isEmpty());
}

TEST(OnlineProtocol, ImageListResults)
{
    const struct {
        const char *name;
        QByteArray reply;
        ListResult result;
        int records;
    } rows[] = {
        { "empty reply", "", ListResult::Empty, 0 },
        { "first line without tag", "count=1\nfields=0<br>\nid=1<br>\n", ListResult::Empty, 0 },
        { "first line without a number", "welcome<br>\n", ListResult::Listed, 0 },
        { "no pictures", "count=0<br>\nfields=4<br>\n", ListResult::Listed, 0 },
        { "exactly one field line", "count=1<br>\nfields=0<br>\nid=1<br>\n",
            ListResult::SingleField, 1 },
        { "count beyond the data", "count=2000000000<br>\nfields=1<br>\nid=1<br>\nfilename=a<br>\n",
            ListResult::Listed, 1 },
        { "field count beyond the data", "count=3<br>\nfields=2000000000<br>\nid=1<br>\n",
            ListResult::SingleField, 1 },
    };
    for (const auto &row : rows) {
        QList<RemoteImage> images;
        EXPECT_EQ(parseImageList(row.reply, images), row.result) << row.name;
        EXPECT_EQ(images.size(), row.records) << row.name;
    }
}

TEST(OnlineProtocol, LongValuesAreCutAtACharacterBoundary)
{
    const QString caption = QString(254, QLatin1Char('a')) + QString::fromUtf8("éé");
    QList<RemoteImage> images;
    parseImageList("count=1<br>\nfields=0<br>\ncaption=" + caption.toUtf8() + "<br>\n", images);
    ASSERT_EQ(images.size(), 1);
    // 255 bytes fit: 254 letters, and the two-byte letter after them does not.
    EXPECT_EQ(images[0].caption, QString(254, QLatin1Char('a')));
}

TEST(OnlineProtocol, ServerLookupAndReplyCodes)
{
    EXPECT_EQ(serverFromLookup("images.example\r\n"), QStringLiteral("images.example"));
    EXPECT_EQ(serverFromLookup("images.example\n"), QStringLiteral("images.example"));
    EXPECT_EQ(serverFromLookup("host:81"), QStringLiteral("host:81"));
    EXPECT_EQ(serverFromLookup("\r\n"), QString());

    EXPECT_EQ(uploadReplyCode("<p>ORVANTAMESSAGE:4</p>"), 4);
    EXPECT_EQ(uploadReplyCode("ORVANTAMESSAGE:-3"), -3);
    EXPECT_EQ(uploadReplyCode("ORVANTAMESSAGE:"), 0);
    EXPECT_EQ(uploadReplyCode("all good"), std::nullopt);
}

TEST(OnlineProtocol, LocalNamesStayInTheFolder)
{
    EXPECT_EQ(localPictureName(7, QStringLiteral("beach.jpg")), QStringLiteral("7_beach.jpg"));
    EXPECT_EQ(localPictureName(7, QStringLiteral("../../etc/passwd")), QStringLiteral("7_passwd"));
    EXPECT_EQ(localPictureName(7, QStringLiteral("C:\\Pics\\a.jpg")), QStringLiteral("7_a.jpg"));
    EXPECT_EQ(localPictureName(7, QStringLiteral("..")), QStringLiteral("7_picture.jpg"));
}

TEST(OnlineProtocol, QueryValuesArePercentEncoded)
{
    EXPECT_EQ(encodeQueryValue(QStringLiteral("a&b=c#d e")), QByteArray("a%26b%3Dc%23d%20e"));
    EXPECT_EQ(encodeQueryValue(QStringLiteral("plain-name_1.x~")), QByteArray("plain-name_1.x~"));
}

TEST(OnlineProtocol, UploadBodyByteForByte)
{
    UploadForm form;
    form.caption = QStringLiteral("Sea");
    form.keywords = QStringLiteral("blue");
    form.userName = QStringLiteral("ann");
    form.password = QStringLiteral("p&w");
    form.filePath = QStringLiteral("/tmp/x/holiday.jpg");
    const QByteArray d = "-----------------------------9471607617381";
    const QByteArray expected = d
        + "\r\nContent-Disposition: form-data; name=\"Caption\"\r\n\r\nSea\r\n" + d
        + "\r\nContent-Disposition: form-data; name=\"Description\"\r\n\r\n\r\n" + d
        + "\r\nContent-Disposition: form-data; name=\"Keyword\"\r\n\r\nblue\r\n" + d
        + "\r\nContent-Disposition: form-data; name=\"UserName\"\r\n\r\nann\r\n" + d
        + "\r\nContent-Disposition: form-data; name=\"PassWord\"\r\n\r\np&w\r\n" + d
        + "\r\nContent-Disposition: form-data; name=\"upload\"; "
          "filename=\"/tmp/x/holiday.jpg\"\r\nContent-Type: image/jpeg\r\n\r\n";
    EXPECT_EQ(uploadBodyHead(form), expected);
    EXPECT_EQ(uploadBodyTail(), "\r\n" + d + "--\r\n");
    EXPECT_EQ(uploadContentType(),
        QByteArray("multipart/form-data, boundary=---------------------------9471607617381"));

    form.filePath = QStringLiteral("/tmp/a\"b.jpg");
    EXPECT_TRUE(uploadBodyHead(form).contains("filename=\"/tmp/a%22b.jpg\""));
}

TEST(OnlineProtocol, ConvertedUploadNames)
{
    // Only the file name is lower-cased; the folder keeps its spelling.
    EXPECT_EQ(convertedUploadPath(QStringLiteral("/tmp/Up"), QStringLiteral("/pics/Holiday.BMP")),
        QStringLiteral("/tmp/Up/holiday.jpg"));
    EXPECT_EQ(convertedUploadPath(QStringLiteral("/t"), QStringLiteral("/p/My.Trip.TIF")),
        QStringLiteral("/t/my.trip.jpg"));
}
