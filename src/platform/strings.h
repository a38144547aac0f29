#pragma once

#include <QHash>
#include <QImage>
#include <QString>
#include <QStringList>

namespace glimmerix
{

// The language bundle: a Qt binary resource file holding the numbered string table, the bitmaps
// and the icons. Every text the user sees is looked up here by number.

inline constexpr const char *kLanguageBundleFileName = "Glimix.rcc";

// Loads the bundle at `bundlePath` and makes it the source of strings and pictures. Returns false
// when the file is missing or is not a resource bundle; the previous bundle (if any) stays.
bool loadLanguageBundle(const QString &bundlePath);
bool languageBundleLoaded();

// The text of string `id`, or an empty string when the bundle has no such entry.
QString loadString(int id);
bool hasString(int id);
// String `id` with its printf-style placeholders filled from `args` in order. A missing entry
// gives "Message <id>" followed by the arguments, so nothing shown is ever blank.
QString formatString(int id, const QStringList &args = {});

// Fills %s, %d, %i, %u, %x, %X, %c, %f and %% (with flags, width, precision and the l/h length
// letters) from `args` in order; numeric conversions read their argument as a number. Missing
// arguments become empty; extra arguments are ignored.
QString formatPrintf(const QString &format, const QStringList &args);

// Bitmap or icon `id` of the bundle; a null image when the bundle has none.
QImage bundleBitmap(int id);
QImage bundleIcon(int id);

// Parses a string table source ("<number> <text>" lines, '#' comments, \n \t \\ escapes, and \s
// for a blank that must stay at the start or end of a text).
// Malformed lines are reported in `errors` (one text per line) and skipped.
struct StringTableParse {
    QHash<int, QString> strings;
    QStringList errors;
};
StringTableParse parseStringTable(const QByteArray &source);

// The English name of the system language ("German", "Japanese", ...), read from the locale.
QString systemLanguageName();
// The built-in message shown when the bundle cannot be loaded, chosen by `languageName` and
// filled with the bundle's file name: its number (310-357) and its text.
struct MissingBundleMessage {
    int id;
    QString text;
};
MissingBundleMessage missingBundleMessage(const QString &languageName, const QString &fileName);

} // namespace glimmerix
