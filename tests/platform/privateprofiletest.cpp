#include "platform/privateprofile.h"

#include "core/messageids.h"
#include "platform/paths.h"
#include "platform/strings.h"
#include "support/testenvironment.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

QString scratchProfile()
{
    return makeTestFolder(QStringLiteral("profile")) + QStringLiteral("/GLIMIX.INI");
}

} // namespace

TEST(PrivateProfile, ReadsDefaultsUntilWrittenThenTheWrittenNumber)
{
    PrivateProfile profile(scratchProfile());
    EXPECT_EQ(profile.readInt(QStringLiteral("Counter"), 17), 17);
    EXPECT_TRUE(profile.writeInt(QStringLiteral("Counter"), 3));
    EXPECT_TRUE(profile.writeInt(QStringLiteral("Negative"), -42));
    EXPECT_TRUE(profile.writeInt(QStringLiteral("COUNTER"), 4));
    EXPECT_EQ(profile.readInt(QStringLiteral("counter"), 17), 4);
    EXPECT_EQ(profile.readInt(QStringLiteral("Negative"), 0), -42);
    EXPECT_EQ(fileBytes(profile.filePath()), QByteArray("[USER]\nCounter=4\nNegative=-42\n"));
}

TEST(PrivateProfile, WritingKeepsOtherSectionsAndLines)
{
    const QString path = scratchProfile();
    writeFile(
        path, "; note\r\n[Other]\r\nCounter=9\r\n\r\n[user]\r\nKept = 5\r\n\r\n[Last]\r\nx=1\r\n");
    PrivateProfile profile(path);
    EXPECT_EQ(profile.readInt(QStringLiteral("Counter"), -1), -1);
    EXPECT_EQ(profile.readInt(QStringLiteral("Kept"), -1), 5);
    EXPECT_TRUE(profile.writeInt(QStringLiteral("Counter"), 1));
    EXPECT_EQ(fileBytes(path),
        QByteArray("; note\n[Other]\nCounter=9\n\n[user]\nKept = 5\nCounter=1\n\n[Last]\nx=1\n"));
}

TEST(PrivateProfile, GarbledContentReadsAsDefaults)
{
    struct Case {
        const char *name;
        QByteArray content;
    };
    const Case cases[] = {
        { "not a number", "[USER]\nCounter=abc\n" },
        { "number with trailing text", "[USER]\nCounter=12abc\n" },
        { "out of range", "[USER]\nCounter=99999999999\n" },
        { "empty value", "[USER]\nCounter=\n" },
        { "binary noise", QByteArray("\x00\xFF[USER\x00]\nCounter\x01=1\n", 20) },
        { "key outside the section", "Counter=5\n[USER]\n" },
        { "too large to be ours", "[USER]\nCounter=5\n" + QByteArray(2 * 1024 * 1024, ';') },
    };
    for (const Case &c : cases) {
        const QString path = scratchProfile();
        writeFile(path, c.content);
        EXPECT_EQ(PrivateProfile(path).readInt(QStringLiteral("Counter"), 77), 77) << c.name;
    }
    // Quotes around a value and blanks around the key are tolerated.
    const QString path = scratchProfile();
    writeFile(path, "[ USER ]\n  Counter  =  \"12\"  \n");
    EXPECT_EQ(PrivateProfile(path).readInt(QStringLiteral("Counter"), 77), 12);
}

TEST(PrivateProfile, RefusesKeysThatWouldBreakTheFile)
{
    PrivateProfile profile(scratchProfile());
    for (const QString &key : { QString(), QStringLiteral("a=b"), QStringLiteral("[x"),
             QStringLiteral(";x"), QStringLiteral(" x"), QStringLiteral("a\nb") }) {
        EXPECT_FALSE(profile.writeInt(key, 1)) << key.toStdString();
        EXPECT_EQ(profile.readInt(key, 5), 5);
    }
    EXPECT_FALSE(QFile::exists(profile.filePath()));
}

TEST(PrivateProfile, KeyNamesComeFromTheStringTable)
{
    EXPECT_EQ(privateProfilePath(), joinPath(configFolder(), QStringLiteral("GLIMIX.INI")));
    const QString name = loadString(Message::kNextCounterKey);
    if (name.isEmpty())
        GTEST_SKIP() << "the bundle has no string 54019";
    EXPECT_EQ(profileKeyName(Message::kNextCounterKey), name.left(31));
    PrivateProfile profile;
    EXPECT_TRUE(profile.writeInt(Message::kNextCounterKey, 12));
    EXPECT_EQ(profile.readInt(profileKeyName(Message::kNextCounterKey), 0), 12);
    EXPECT_EQ(profile.readInt(Message::kDayCodeKey, -3), -3);
}
