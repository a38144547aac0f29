#include "privateprofile.h"

#include "paths.h"
#include "savefilecommit.h"
#include "strings.h"
#include "textlimits.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

namespace glimmerix
{

namespace
{

// A profile of this size is not ours; it reads as defaults and is never rewritten.
constexpr qint64 kMaxProfileBytes = 1024 * 1024;

struct ProfileEntry {
    QString key;
    QString value;
};

std::optional<QString> sectionName(const QString &trimmedLine)
{
    if (!trimmedLine.startsWith(u'['))
        return std::nullopt;
    const qsizetype end = trimmedLine.indexOf(u']');
    return trimmedLine.mid(1, end < 0 ? -1 : end - 1).trimmed();
}

std::optional<ProfileEntry> entryOf(const QString &trimmedLine)
{
    const qsizetype equals = trimmedLine.indexOf(u'=');
    if (equals < 0 || trimmedLine.startsWith(u';'))
        return std::nullopt;
    QString value = trimmedLine.mid(equals + 1).trimmed();
    if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
        value = value.mid(1, value.size() - 2);
    return ProfileEntry { trimmedLine.left(equals).trimmed(), value };
}

QStringList linesOf(const QByteArray &source)
{
    QStringList lines = QString::fromUtf8(source).split(u'\n');
    for (QString &line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

std::optional<QByteArray> readProfileFile(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return QByteArray();
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxProfileBytes)
        return std::nullopt;
    return file.readAll();
}

std::optional<int> parseDecimal(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok || text.isEmpty() || text.front().isSpace() || text.front() == u'+')
        return std::nullopt;
    return value;
}

} // namespace

bool isValidProfileKey(const QString &key)
{
    if (key.isEmpty() || key.trimmed() != key || key.contains(u'=') || key.startsWith(u'[')
        || key.startsWith(u';'))
        return false;
    for (const QChar c : key) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
    }
    return true;
}

std::optional<QString> findProfileValue(
    const QByteArray &source, const QString &section, const QString &key)
{
    bool inSection = false;
    for (const QString &line : linesOf(source)) {
        const QString trimmed = line.trimmed();
        if (const std::optional<QString> name = sectionName(trimmed)) {
            inSection = sameName(*name, section);
            continue;
        }
        if (!inSection)
            continue;
        if (const std::optional<ProfileEntry> entry = entryOf(trimmed);
            entry && sameName(entry->key, key))
            return entry->value;
    }
    return std::nullopt;
}

QByteArray setProfileValue(
    const QByteArray &source, const QString &section, const QString &key, const QString &value)
{
    QStringList lines = linesOf(source);
    const QString newLine = key + u'=' + value;
    bool inSection = false;
    bool inFirstSection = false;
    qsizetype insertAt = -1; // just after the last non-blank line of the first matching section
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString trimmed = lines[i].trimmed();
        if (const std::optional<QString> name = sectionName(trimmed)) {
            inSection = sameName(*name, section);
            inFirstSection = inSection && insertAt < 0;
            if (inFirstSection)
                insertAt = i + 1;
            continue;
        }
        if (!inSection)
            continue;
        if (const std::optional<ProfileEntry> entry = entryOf(trimmed);
            entry && sameName(entry->key, key)) {
            lines[i] = entry->key + u'=' + value; // the key keeps the spelling it has

            return (lines.join(u'\n') + u'\n').toUtf8();
        }
        if (inFirstSection && !trimmed.isEmpty())
            insertAt = i + 1;
    }
    if (insertAt >= 0) {
        lines.insert(insertAt, newLine);
    } else {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines << QString();
        lines << u'[' + section + u']' << newLine;
    }
    return (lines.join(u'\n') + u'\n').toUtf8();
}

QString privateProfilePath()
{
    return joinPath(configFolder(), QString::fromLatin1(kPrivateProfileFileName));
}

QString profileKeyName(int stringId)
{
    return cutToUtf8Bytes(loadString(stringId), kMaxProfileKeyBytes);
}

PrivateProfile::PrivateProfile(QString filePath)
    : m_filePath(std::move(filePath))
{
}

int PrivateProfile::readInt(const QString &key, int defaultValue) const
{
    if (!isValidProfileKey(key))
        return defaultValue;
    const std::optional<QByteArray> source = readProfileFile(m_filePath);
    if (!source)
        return defaultValue;
    const std::optional<QString> text
        = findProfileValue(*source, QString::fromLatin1(kPrivateProfileSection), key);
    if (!text)
        return defaultValue;
    return parseDecimal(*text).value_or(defaultValue);
}

int PrivateProfile::readInt(int keyStringId, int defaultValue) const
{
    return readInt(profileKeyName(keyStringId), defaultValue);
}

bool PrivateProfile::writeInt(const QString &key, int value)
{
    if (!isValidProfileKey(key))
        return false;
    const std::optional<QByteArray> source = readProfileFile(m_filePath);
    if (!source)
        return false;
    QDir().mkpath(QFileInfo(m_filePath).absolutePath());
    QSaveFile file(m_filePath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(setProfileValue(
        *source, QString::fromLatin1(kPrivateProfileSection), key, QString::number(value)));
    return commitSaveFile(file);
}

bool PrivateProfile::writeInt(int keyStringId, int value)
{
    return writeInt(profileKeyName(keyStringId), value);
}

} // namespace glimmerix
