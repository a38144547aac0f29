#include "channeltestsupport.h"

#include "platform/relayfile.h"
#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

class CollectingReceiver final : public HandoverReceiver
{
public:
    void receiveHandedOverFile(const QString &path) override { paths.append(path); }
    QStringList paths;
};

TEST(RelayFile, RecordHoldsAtMost259BytesAndNeverCuts)
{
    const QString longest = QLatin1Char('/') + QString(258, u'a');
    const std::optional<QByteArray> record = encodeRelayRecord(longest);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->size(), kRelayRecordSize);
    EXPECT_EQ(record->at(259), '\0');
    EXPECT_EQ(decodeRelayRecord(*record), longest);

    EXPECT_FALSE(encodeRelayRecord(longest + u'a'));
    // 130 two-byte characters are 260 bytes: refused although only 130 characters long.
    EXPECT_FALSE(encodeRelayRecord(QString(130, QChar(0x00e9))));
    EXPECT_FALSE(encodeRelayRecord(QString()));
    EXPECT_FALSE(encodeRelayRecord(QString::fromLatin1("/a\0b", 4)));
    EXPECT_EQ(decodeRelayRecord(*encodeRelayRecord(QStringLiteral("/Bilder/Straße.jpg"))),
        QStringLiteral("/Bilder/Straße.jpg"));
}

TEST(RelayFile, MalformedRecordsHandOnNothing)
{
    QByteArray garbageAfterZero(kRelayRecordSize, 'z');
    garbageAfterZero.replace(0, 7, QByteArray("/a.jpg\0", 7));
    EXPECT_EQ(decodeRelayRecord(garbageAfterZero), QStringLiteral("/a.jpg"));

    struct Case {
        const char *name;
        QByteArray record;
    };
    const std::vector<Case> cases = {
        { "no terminator", QByteArray(kRelayRecordSize, 'a') },
        { "empty path", QByteArray(kRelayRecordSize, '\0') },
        { "not UTF-8", QByteArray("/\xff\xfe.jpg").leftJustified(kRelayRecordSize, '\0') },
        { "one byte short", garbageAfterZero.left(kRelayRecordSize - 1) },
        { "one byte long", garbageAfterZero + '\0' },
        { "empty file", QByteArray() },
    };
    const QString relay = makeTestFolder() + QStringLiteral("/Tessrelay.tmp");
    CollectingReceiver collected;
    RelayFileReceiver receiver(&collected, relay);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(decodeRelayRecord(c.record));
        writeFile(relay, c.record);
        EXPECT_EQ(receiver.handleInstanceMessage(kRelayFileMessage, 0, 0, {}), 0);
    }
    // Missing file.
    EXPECT_EQ(receiver.handleInstanceMessage(kRelayFileMessage, 0, 0, {}), 0);
    EXPECT_TRUE(collected.paths.isEmpty());

    // A good record is passed on once; the message repeated finds no file and passes nothing.
    ASSERT_TRUE(writeRelayFile(relay, QStringLiteral("/b.jpg")));
    EXPECT_EQ(receiver.handleInstanceMessage(kRelayFileMessage, 0, 0, {}), 1);
    EXPECT_EQ(receiver.handleInstanceMessage(kRelayFileMessage, 0, 0, {}), 0);
    EXPECT_EQ(collected.paths, QStringList { "/b.jpg" });
}

TEST(RelayFile, HandOverRefusesTooLongPathsAndKeepsOrder)
{
    RecordingHost recorder;
    CollectingReceiver collected;
    RelayFileReceiver relay(&collected);
    InstanceServer server;
    server.setReceiver(kRelayFileMessage, &relay);
    ASSERT_TRUE(server.listen(QStringLiteral("relay-order")));

    const QString tooLong = QLatin1Char('/') + QString(300, u'x');
    const QStringList files = { "/1.jpg", tooLong, "/2.jpg", "/3.jpg" };
    const HandoverResult result
        = runWhileServing([&] { return handOverFiles(QStringLiteral("relay-order"), files); });
    EXPECT_TRUE(result.complete()) << qPrintable(result.error);
    EXPECT_EQ(result.refused, QStringList { tooLong });
    EXPECT_EQ(collected.paths, (QStringList { "/1.jpg", "/2.jpg", "/3.jpg" }));
    EXPECT_EQ(result.handedOver, collected.paths);
    // The caller reports the refused path; the hand-over itself shows nothing.
    EXPECT_TRUE(recorder.messageIds().isEmpty());

    // With the receiver gone, the files come back unsent.
    const HandoverResult lost = handOverFiles(QStringLiteral("relay-nobody"), { "/4.jpg" }, 300);
    EXPECT_FALSE(lost.complete());
    EXPECT_EQ(lost.notSent, QStringList { "/4.jpg" });
    EXPECT_FALSE(lost.error.isEmpty());
}

} // namespace
