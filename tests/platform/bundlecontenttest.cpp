// Checks the content of the built language bundle against what the program's code relies on:
// every number it looks up is present, formats take the arguments their callers pass, key names
// fit the private profile, texts that callers cut or extend have the shape they need, and the
// numbered pictures exist at the sizes the drawing code assumes.

#include "platform/strings.h"

#include "support/testenvironment.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

// The kinds of the printf conversions in `text`, in order: 's' text, 'n' whole number, 'f'
// floating-point number. "%%" is a literal percent sign.
QString conversionKinds(const QString &text)
{
    static const QRegularExpression conversion(
        QStringLiteral("%(?:%|[-+ #0]*\\d*(?:\\.\\d*)?[lhI]*([sciduxXfg]))"));
    QString kinds;
    for (auto it = conversion.globalMatch(text); it.hasNext();) {
        const QString letter = it.next().captured(1);
        if (letter.isEmpty())
            continue;
        if (letter == u's')
            kinds += u's';
        else if (letter == u'f' || letter == u'g')
            kinds += u'f';
        else
            kinds += u'n';
    }
    return kinds;
}

struct FormatCase {
    int id;
    const char *kinds;
};

// Every string that callers fill with arguments, with the arguments they pass.
const FormatCase kFormats[] = {
    { 59002, "s" },
    { 59003, "s" },
    { 59004, "s" },
    { 59001, "s" },
    { 59110, "s" },
    { 59111, "sss" },
    { 59113, "ss" },
    { 59114, "s" },
    { 310, "s" },
    { 311, "s" },
    { 312, "s" },
    { 313, "s" },
    { 314, "s" },
    { 315, "s" },
    { 316, "s" },
    { 317, "s" },
    { 356, "s" },
    { 357, "s" },
    { 50106, "s" },
    { 50303, "n" },
    { 50314, "s" },
    { 50334, "s" },
    { 50341, "s" },
    { 50342, "n" },
    { 50348, "s" },
    { 50365, "n" },
    { 50370, "n" },
    { 50372, "nnn" },
    { 50374, "n" },
    { 50479, "s" },
    { 50488, "nn" },
    { 50489, "n" },
    { 59120, "s" },
    { 50385, "s" }, // the show file that could not be written, with the cause
    { 59121, "s" }, // the slide show player that could not be copied, with the cause
    { 50495, "n" },
    { 50506, "s" },
    { 50532, "nf" },
    { 50533, "nf" },
    { 50534, "nf" },
    { 54015, "nnnnnn" },
    { 54016, "n" },
    { 57000, "nn" },
    { 57001, "n" },
    { 57017, "s" },
    { 59005, "s" },
    { 59006, "s" },
    { 59130, "s" },
    { 59131, "s" },
    { 50566, "s" },
    { 61707, "s" }, // the pictures a contact sheet printed as thumbnails
    // Our disc component.
    { 59161, "ss" },
    { 59162, "ss" },
    { 59163, "s" },
    { 59165, "s" },
};

// Every number of the string table sources, read from lang/en/strings.
QList<int> allTableNumbers()
{
    QList<int> numbers;
    QDir folder(QStringLiteral(GLIMMERIX_SOURCE_DIR "/lang/en/strings"));
    for (const QString &name : folder.entryList({ QStringLiteral("*.txt") })) {
        QFile file(folder.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            numbers += parseStringTable(file.readAll()).strings.keys();
    }
    return numbers;
}

} // namespace

TEST(BundleContent, FormatsTakeTheArgumentsTheirCallersPass)
{
    for (const FormatCase &format : kFormats) {
        ASSERT_TRUE(hasString(format.id)) << format.id;
        EXPECT_EQ(conversionKinds(loadString(format.id)).toStdString(), std::string(format.kinds))
            << format.id << ": " << loadString(format.id).toStdString();
    }
}

// Every string of the table that no caller fills takes no arguments, so a stray "%s" in a
// translation cannot read past the caller's arguments. (That every named message has a text is
// checked with the numbers, by tools/checks/numbersdefinedonce.py.)
TEST(BundleContent, EveryOtherStringTakesNoArguments)
{
    QSet<int> filled;
    for (const FormatCase &format : kFormats)
        filled.insert(format.id);
    for (int id : allTableNumbers()) {
        if (filled.contains(id))
            continue;
        EXPECT_FALSE(loadString(id).trimmed().isEmpty()) << id;
        EXPECT_EQ(conversionKinds(loadString(id)).toStdString(), "") << id;
    }
}

TEST(BundleContent, FixedTokensAndProfileKeys)
{
    EXPECT_EQ(loadString(57344), QStringLiteral("Glimmerix"));
    EXPECT_EQ(loadString(294), QStringLiteral("ENGLISH"));
    EXPECT_FALSE(loadString(54024).contains(u' '));

    // Key names of the private profile: at most 31 characters, plain, all different.
    static const QRegularExpression plainKey(QStringLiteral("^[A-Za-z][A-Za-z0-9_]{0,30}$"));
    QSet<QString> keys;
    for (int id : { 54010, 54019, 54023 }) {
        const QString key = loadString(id);
        EXPECT_TRUE(plainKey.match(key).hasMatch()) << id << ": " << key.toStdString();
        keys.insert(key.toLower());
    }
    EXPECT_EQ(keys.size(), 3);
}

TEST(BundleContent, TextsThatCallersCutOrExtendKeepTheirShape)
{
    // Shown as a title without its last character, or without its first.
    EXPECT_EQ(loadString(50300).chopped(1), QStringLiteral("Cannot Open Album"));
    EXPECT_EQ(loadString(50101).mid(1), QStringLiteral("Preparing Files"));

    // Followed directly by a number, a path or a folder: they end in a blank so the two do not run
    // together.
    for (int id : { 54012, 54013, 54031, 50517 })
        EXPECT_TRUE(loadString(id).endsWith(u' ')) << id;
    EXPECT_EQ(loadString(54013) + QStringLiteral("/p/a.jpg ") + loadString(54014),
        QStringLiteral("Cannot open the picture file /p/a.jpg for reading."));
    // Appended to another status text.
    EXPECT_TRUE(loadString(50378).startsWith(u' '));

    // The album list compares entries with the untitled name: it must not look like a file name
    // the album list could hold, and not like the pseudo-names the start-up passes.
    const QString untitled = loadString(50302);
    EXPECT_FALSE(untitled.contains(u'/'));
    EXPECT_FALSE(untitled.endsWith(u'*'));
    EXPECT_NE(untitled.toUpper(), QStringLiteral("NEW"));

    // Navigation link texts go into web pages as they stand.
    for (int id : { 50520, 50521, 50522, 50523 })
        EXPECT_FALSE(loadString(id).contains(QRegularExpression(QStringLiteral("[<>&\"]")))) << id;
}

TEST(BundleContent, FileDialogFiltersArePairsOfDescriptionAndPattern)
{
    for (int id : { 50390, 50524, 50527, 50528, 50529 }) {
        const QString filter = loadString(id);
        ASSERT_TRUE(filter.endsWith(QStringLiteral("||"))) << id;
        const QStringList parts = filter.chopped(2).split(u'|');
        ASSERT_EQ(parts.size() % 2, 0) << id;
        for (qsizetype i = 0; i < parts.size(); i += 2) {
            EXPECT_FALSE(parts[i].isEmpty()) << id;
            EXPECT_TRUE(parts[i + 1].startsWith(QStringLiteral("*."))) << id;
        }
    }
}

TEST(BundleContent, PicturesExistAtTheSizesTheDrawingCodeAssumes)
{
    struct PictureCase {
        bool icon;
        int id;
        int width; // 0: any size
        int height;
    };
    const PictureCase pictures[] = {
        { false, 180, 400, 250 }, // start-up picture
        { false, 195, 55, 55 }, // launcher button looks: normal, pressed, hover
        { false, 196, 55, 55 }, { false, 197, 55, 55 },
        { false, 163, 12 * 16, 16 }, // picture window toolbar: twelve buttons
        { false, 4, 3 * 16, 16 }, // toolbar of the embedded album
        { false, 145, 0, 0 }, // embedded album without items
        { true, 129, 32, 32 }, // program icon
        { true, 303, 0, 0 }, // attached sound sign in a thumbnail cell
    };
    for (const PictureCase &picture : pictures) {
        const QImage image = picture.icon ? bundleIcon(picture.id) : bundleBitmap(picture.id);
        ASSERT_FALSE(image.isNull()) << picture.id;
        if (picture.width != 0) {
            EXPECT_EQ(image.size(), QSize(picture.width, picture.height)) << picture.id;
        }
    }
    // The cell draws the sign at its right edge less 11 pixels; its border takes the last two.
    EXPECT_LE(bundleIcon(303).width(), 9);
}

TEST(HelpPages, EveryHelpTopicHasAPageListedInTheContents)
{
    const int topics[] = { 300, 400, 600, 601, 602, 603, 605, 606, 607, 608, 609, 610, 611, 612,
        613, 614, 615, 620, 621, 622, 623, 624, 625, 626, 627, 628, 630, 631, 640, 641, 642, 643,
        644, 645, 646, 647, 660, 661, 662, 670, 671, 672, 673, 680, 682, 683, 690 };
    QFile index(programFolder() + QStringLiteral("/help/index.html"));
    ASSERT_TRUE(index.open(QIODevice::ReadOnly));
    const QByteArray contents = index.readAll();
    for (int topic : topics) {
        const QString name = QStringLiteral("%1.html").arg(topic);
        QFile page(programFolder() + QStringLiteral("/help/") + name);
        ASSERT_TRUE(page.open(QIODevice::ReadOnly)) << topic;
        EXPECT_TRUE(page.readAll().contains("<h1>")) << topic;
        EXPECT_TRUE(contents.contains("href=\"" + name.toLatin1() + '"')) << topic;
    }
}
