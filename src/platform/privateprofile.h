#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace glimmerix
{

// The private profile: GLIMIX.INI in the config folder, an INI file whose section "USER" holds
// integer values. Key names are string-table entries (cut to 31 bytes), so the file follows the
// language of the bundle. Values are read with the caller's default and written as decimal text.
//
// The file is read afresh on every call. A missing, unreadable or garbled file reads as the
// defaults; a value that is not a whole decimal number reads as the default too. Writes keep the
// other lines of the file and replace it atomically.

inline constexpr const char *kPrivateProfileFileName = "GLIMIX.INI";
inline constexpr const char *kPrivateProfileSection = "USER";
inline constexpr int kMaxProfileKeyBytes = 31;

// configFolder()/GLIMIX.INI
QString privateProfilePath();
// The key name for string `stringId`; empty when the bundle has no such string.
QString profileKeyName(int stringId);

class PrivateProfile
{
public:
    explicit PrivateProfile(QString filePath = privateProfilePath());

    const QString &filePath() const { return m_filePath; }
    int readInt(const QString &key, int defaultValue) const;
    int readInt(int keyStringId, int defaultValue) const;
    // False when the key name cannot be stored (empty, '=', control characters, a leading '['
    // or ';') or the file cannot be written.
    bool writeInt(const QString &key, int value);
    bool writeInt(int keyStringId, int value);

private:
    QString m_filePath;
};

// The INI text layer, for the class above and the fuzz target. Section and key names compare
// without regard to case.
bool isValidProfileKey(const QString &key);
std::optional<QString> findProfileValue(
    const QByteArray &source, const QString &section, const QString &key);
// `source` with `key` in `section` set to `value`: the first occurrence is replaced, else the key
// is added at the end of the section, else the section is added at the end.
QByteArray setProfileValue(
    const QByteArray &source, const QString &section, const QString &key, const QString &value);

} // namespace glimmerix
