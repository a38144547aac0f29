#include "platform/settingsfile.h"
#include "platform/textlimits.h"

#include <gtest/gtest.h>

using namespace glimmerix;

TEST(SettingsFile, ParsesSectionsTypedValuesAndEscapes)
{
    const SettingsFileParse parse
        = parseSettingsFile("\xEF\xBB\xBF; comment\n"
                            "[SOFTWARE\\Orvanta\\Glimmerix\\2.0\\Preference]\r\n"
                            "\"LastFile\"=sz:\"/home/ann/a \\\"b\\\"\\\\c.gmx\"\n"
                            "\"ZoSite\" = sz:plain text \\t tab\n"
                            "\"Big\"=dword:4294967295\n"
                            "\"Minus\"=dword:-1\n"
                            "\"Hex\"=dword:0x1F\n"
                            "@=sz:\"line\\nnext\\x01\"\n");
    EXPECT_TRUE(parse.errors.isEmpty()) << parse.errors.join(u'\n').toStdString();
    const QString key = QStringLiteral("software\\orvanta\\glimmerix\\2.0\\preference");
    EXPECT_EQ(parse.tree.value(key, QStringLiteral("lastfile")),
        SettingsValue::string(QStringLiteral("/home/ann/a \"b\"\\c.gmx")));
    EXPECT_EQ(parse.tree.value(key, QStringLiteral("ZoSite")),
        SettingsValue::string(QStringLiteral("plain text \t tab")));
    EXPECT_EQ(parse.tree.value(key, QStringLiteral("Big")), SettingsValue::fromNumber(0xFFFFFFFFu));
    EXPECT_EQ(
        parse.tree.value(key, QStringLiteral("Minus")), SettingsValue::fromNumber(0xFFFFFFFFu));
    EXPECT_EQ(parse.tree.value(key, QStringLiteral("Hex")), SettingsValue::fromNumber(31));
    EXPECT_EQ(
        parse.tree.value(key, QString()), SettingsValue::string(QStringLiteral("line\nnext\x01")));
}

TEST(SettingsFile, SkipsBadLinesAndKeepsTheRest)
{
    struct Case {
        const char *name;
        QByteArray line;
    };
    const Case cases[] = {
        { "value before any section", "\"a\"=sz:x" },
        { "unterminated string", "[K]\n\"a\"=sz:\"open" },
        { "text after closing quote", "[K]\n\"a\"=sz:\"x\" y" },
        { "unknown escape", "[K]\n\"a\"=sz:\"\\q\"" },
        { "unknown type", "[K]\n\"a\"=hex:00" },
        { "number too large", "[K]\n\"a\"=dword:4294967296" },
        { "number too small", "[K]\n\"a\"=dword:-2147483649" },
        { "number not decimal", "[K]\n\"a\"=dword:12abc" },
        { "missing equals", "[K]\n\"a\" sz:x" },
        { "bare word", "[K]\nloose" },
        { "unterminated header", "[K" },
        { "empty path component", "[A\\\\B]" },
        { "control character in path", "[A\x01]" },
    };
    for (const Case &c : cases) {
        const SettingsFileParse parse = parseSettingsFile(c.line + "\n[Good]\n\"kept\"=dword:7\n");
        EXPECT_EQ(parse.errors.size(), 1) << c.name;
        EXPECT_EQ(parse.tree.value(QStringLiteral("Good"), QStringLiteral("kept")),
            SettingsValue::fromNumber(7))
            << c.name;
        EXPECT_FALSE(parse.tree.value(QStringLiteral("K"), QStringLiteral("a"))) << c.name;
    }
    // The values of a bad section are skipped with it, not filed under the section before.
    const SettingsFileParse parse = parseSettingsFile("[A]\n[B\\\\C]\n\"x\"=dword:1\n");
    EXPECT_EQ(parse.errors.size(), 2);
    EXPECT_FALSE(parse.tree.value(QStringLiteral("A"), QStringLiteral("x")));
}

TEST(SettingsFile, WritesWhatItReadsBack)
{
    SettingsTree tree;
    tree.setValue(QStringLiteral("A\\B"), QStringLiteral("quote\"and\\slash"),
        SettingsValue::string(QStringLiteral(" lead, trail \n\r\t\x7f end ")));
    tree.setValue(QStringLiteral("A\\B"), QString(), SettingsValue::fromNumber(42));
    tree.setValue(QStringLiteral("A\\B"), QStringLiteral("QUOTE\"AND\\SLASH"),
        SettingsValue::string(QStringLiteral("replaced, name keeps its case")));
    tree.createKey(QStringLiteral("Empty]Key"));
    tree.setValue(QStringLiteral("Unicode ü"), QStringLiteral("日本"),
        SettingsValue::string(QStringLiteral("写真")));
    const SettingsFileParse parse = parseSettingsFile(serializeSettingsFile(tree));
    EXPECT_TRUE(parse.errors.isEmpty());
    EXPECT_EQ(parse.tree, tree);
    EXPECT_EQ(tree.keys().first().values.first().name, QStringLiteral("quote\"and\\slash"));
}

TEST(SettingsFile, KeysExistImplicitlyAndDeleteWithTheirSubkeys)
{
    SettingsTree tree;
    tree.setValue(QStringLiteral("Root\\Product\\App1"), QStringLiteral("AppPathName"),
        SettingsValue::string(QStringLiteral("/bin/a")));
    tree.createKey(QStringLiteral("Root\\Product\\App2\\Deeper"));
    tree.createKey(QStringLiteral("Root\\Productive"));
    EXPECT_TRUE(tree.keyExists(QStringLiteral("root\\product")));
    EXPECT_EQ(tree.subkeyNames(QStringLiteral("Root\\Product")),
        (QStringList { QStringLiteral("App1"), QStringLiteral("App2") }));
    EXPECT_TRUE(tree.deleteKey(QStringLiteral("ROOT\\PRODUCT")));
    EXPECT_FALSE(tree.keyExists(QStringLiteral("Root\\Product")));
    EXPECT_TRUE(tree.keyExists(QStringLiteral("Root\\Productive")));
    EXPECT_FALSE(tree.deleteKey(QStringLiteral("Root\\Product")));
}

TEST(TextLimits, CutsAtCharacterBoundaries)
{
    // "é" takes two bytes, "写" three.
    EXPECT_EQ(cutToUtf8Bytes(QStringLiteral("abcé"), 4), QStringLiteral("abc"));
    EXPECT_EQ(cutToUtf8Bytes(QStringLiteral("abcé"), 5), QStringLiteral("abcé"));
    EXPECT_EQ(cutToUtf8Bytes(QStringLiteral("写真"), 5), QStringLiteral("写"));
    EXPECT_EQ(cutToUtf8Bytes(QStringLiteral("😀x"), 3), QString());
    EXPECT_EQ(cutToUtf8Bytes(QStringLiteral("abc"), -1), QStringLiteral("abc"));
    EXPECT_TRUE(pathFitsField(QString(259, u'a')));
    EXPECT_FALSE(pathFitsField(QString(258, u'a') + QStringLiteral("é")));
}
