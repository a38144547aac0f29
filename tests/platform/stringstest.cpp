#include "platform/strings.h"
#include "platform/fillin.h"

#include "support/testenvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace glimmerix;

TEST(PrintfFormat, FillsConversionsInOrder)
{
    EXPECT_EQ(formatPrintf(
                  QStringLiteral("%s_%04d.jpg"), { QStringLiteral("trip"), QStringLiteral("2") }),
        QStringLiteral("trip_0002.jpg"));
    EXPECT_EQ(
        formatPrintf(QStringLiteral("%d%%"), { QStringLiteral("42") }), QStringLiteral("42%"));
    EXPECT_EQ(
        formatPrintf(QStringLiteral("[%-5s|%5s]"), { QStringLiteral("ab"), QStringLiteral("cd") }),
        QStringLiteral("[ab   |   cd]"));
    EXPECT_EQ(formatPrintf(QStringLiteral("%lu bytes, %.2f MB"),
                  { QStringLiteral("1024"), QStringLiteral("1.5") }),
        QStringLiteral("1024 bytes, 1.50 MB"));
    EXPECT_EQ(
        formatPrintf(QStringLiteral("%05d"), { QStringLiteral("-42") }), QStringLiteral("-0042"));
    EXPECT_EQ(formatPrintf(QStringLiteral("%X"), { QStringLiteral("255") }), QStringLiteral("FF"));
}

// Values that look like placeholders stay as they are: names holding "%2", a percent-escaped
// link ("%3F" is "?"), a control byte escaped as "%01".
TEST(FillIn, ValuesAreNeverTakenForPlaceholders)
{
    const struct {
        QString filled;
        QString expected;
    } rows[] = {
        { fillIn(QStringLiteral("<A HREF=\"%1\"><IMG WIDTH=\"%3\" HEIGHT=\"%4\" SRC=\"%2\">"),
              QStringLiteral("what%3F.jpg"), QStringLiteral("sm_ctl%01.jpg"), 75, 60),
            QStringLiteral("<A HREF=\"what%3F.jpg\"><IMG WIDTH=\"75\" HEIGHT=\"60\" "
                           "SRC=\"sm_ctl%01.jpg\">") },
        { fillIn(
              QStringLiteral("%1 (%2)%3"), QStringLiteral("100%2 done"), 3, QStringLiteral(".jpg")),
            QStringLiteral("100%2 done (3).jpg") },
        { fillIn(QStringLiteral("%1: %2 of %3"), QLatin1StringView("a%1"), qint64(1) << 40, 2.5),
            QStringLiteral("a%1: 1099511627776 of 2.5") },
        { fillIn(QStringLiteral("%2%1"), QChar(u'x'), -7), QStringLiteral("-7x") },
        { fillIn(QStringLiteral("%1 on %2"), countedText(1, u"thumbnail", u"thumbnails"),
              countedText(0, u"page", u"pages")),
            QStringLiteral("1 thumbnail on 0 pages") },
    };
    for (const auto &row : rows)
        EXPECT_EQ(row.filled, row.expected);
}

TEST(PrintfFormat, ToleratesMissingArgumentsAndBrokenSpecs)
{
    EXPECT_EQ(formatPrintf(QStringLiteral("a %s b %s"), { QStringLiteral("1") }),
        QStringLiteral("a 1 b "));
    EXPECT_EQ(formatPrintf(QStringLiteral("100%"), {}), QStringLiteral("100%"));
    EXPECT_EQ(formatPrintf(QStringLiteral("%q"), { QStringLiteral("x") }), QStringLiteral("%q"));
    EXPECT_EQ(formatPrintf(QStringLiteral("%99999999999d"), { QStringLiteral("1") }).size(), 1000);
}

TEST(StringTable, ParsesNumbersEscapesAndReportsBadLines)
{
    const StringTableParse parse = parseStringTable(
        "# comment\n10 Hello\\n\"%s\"\n\n11\nxx broken\n10 again\n12   spaced  \n");
    EXPECT_EQ(parse.strings.value(10), QStringLiteral("Hello\n\"%s\""));
    EXPECT_TRUE(parse.strings.contains(11));
    EXPECT_EQ(parse.strings.value(12), QStringLiteral("spaced"));
    EXPECT_EQ(parse.errors.size(), 2);
}

TEST(StringTable, EscapedBlanksSurviveTrimming)
{
    const StringTableParse parse
        = parseStringTable("20 Progress:\\s\r\n21 \\s(more)\n22 a\\\\s\n23 tab\\there\n");
    EXPECT_EQ(parse.strings.value(20), QStringLiteral("Progress: "));
    EXPECT_EQ(parse.strings.value(21), QStringLiteral(" (more)"));
    EXPECT_EQ(parse.strings.value(22), QStringLiteral("a\\s"));
    EXPECT_EQ(parse.strings.value(23), QStringLiteral("tab\there"));
    EXPECT_TRUE(parse.errors.isEmpty());
}

TEST(StringTable, SourceFilesHaveNoErrorsOrDuplicates)
{
    const QDir folder(QStringLiteral(GLIMMERIX_SOURCE_DIR "/lang/en/strings"));
    QByteArray all;
    for (const QString &name : folder.entryList({ QStringLiteral("*.txt") })) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        all += file.readAll() + '\n';
    }
    const StringTableParse parse = parseStringTable(all);
    EXPECT_TRUE(parse.errors.isEmpty()) << parse.errors.join(u'\n').toStdString();
}

TEST(LanguageBundle, LoadsStringsFromTheBuiltBundle)
{
    ASSERT_TRUE(languageBundleLoaded());
    EXPECT_EQ(loadString(316),
        QStringLiteral("Unable to find the file \"%s\", please check your installation or "
                       "reinstall Glimmerix."));
    EXPECT_EQ(formatString(999999, { QStringLiteral("x") }), QStringLiteral("Message 999999 x"));
    EXPECT_FALSE(loadLanguageBundle(QStringLiteral("/nonexistent/Glimix.rcc")));
    EXPECT_TRUE(languageBundleLoaded());
}

TEST(MissingBundleMessage, PicksTheMessageByLanguage)
{
    const QString name = QStringLiteral("Glimix.rcc");
    EXPECT_EQ(missingBundleMessage(QStringLiteral("English"), name).id, 316);
    EXPECT_EQ(missingBundleMessage(QStringLiteral("English"), name).text,
        QStringLiteral("Unable to find the file \"Glimix.rcc\", please check your "
                       "installation or reinstall Glimmerix."));
    EXPECT_EQ(missingBundleMessage(QStringLiteral("Dutch"), name).id, 310);
    EXPECT_EQ(missingBundleMessage(QStringLiteral("German"), name).id, 312);
    EXPECT_EQ(missingBundleMessage(QStringLiteral("Japanese"), name).id, 317);
    EXPECT_EQ(missingBundleMessage(QStringLiteral("Chinese"), name).id, 357);
    EXPECT_EQ(missingBundleMessage(QStringLiteral("Klingon"), name).id, 316);
    EXPECT_TRUE(missingBundleMessage(QStringLiteral("Korean"), name).text.contains(name));
}
