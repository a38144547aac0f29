#pragma once

#include <QChar>
#include <QLatin1StringView>
#include <QString>
#include <QStringView>

#include <concepts>

namespace glimmerix
{

// Texts and numbers as they go into a pattern's placeholders: a number in full, a text as it is.
inline const QString &fillInText(const QString &text)
{
    return text;
}
inline QLatin1StringView fillInText(QLatin1StringView text)
{
    return text;
}
inline QStringView fillInText(QStringView text)
{
    return text;
}
inline QChar fillInText(QChar character)
{
    return character;
}
inline QString fillInText(const char *) = delete; // say which encoding: QLatin1StringView or u""
template<std::integral Number>
requires(!std::same_as<Number, bool> && !std::same_as<Number, char>) QString
    fillInText(Number number)
{
    return QString::number(number);
}
template<std::floating_point Number> QString fillInText(Number number)
{
    return QString::number(number);
}

// Fills %1, %2, ... of `pattern` with `values` in ONE pass. Chained QString::arg() calls scan
// the text again after each value went in, so a file name or caption holding "%2" or "%3F" (a
// percent-escaped link) would itself be filled by the next call; here a value is never read as
// a placeholder. Numbers are written as QString::number does; padding or precision is given by
// the caller (QString::number(n).rightJustified(...)).
template<typename... Values> QString fillIn(const QString &pattern, const Values &...values)
{
    return pattern.arg(fillInText(values)...);
}

// "1 picture", "3 pictures", "0 pictures": a count with the word in its English singular or
// plural. (Other languages have other plural rules; their bundles carry whole texts.)
inline QString countedText(qint64 count, QStringView one, QStringView many)
{
    return QString::number(count) + u' ' + (count == 1 ? one : many).toString();
}

} // namespace glimmerix
