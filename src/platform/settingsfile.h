#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace glimmerix
{

// One settings file: a tree of keys addressed by backslash-separated paths
// ("SOFTWARE\Orvanta\Glimmerix\2.0\Preference"), each holding named, typed values. Key and value
// names compare without regard to case, as registry names do, and keep the case they were
// written with. The empty value name is the key's default value.
//
// The text form, UTF-8:
//
//   ; comment (also '#'), blank lines are ignored
//   [SOFTWARE\Orvanta\Glimmerix\2.0\Preference]
//   "LastFile"=sz:"/home/ann/Glimmerix/ALBUMS/Trip.gmx"
//   "AcquireFileType"=dword:4
//   @=sz:"Caption"
//
// A string may also be written unquoted (sz:text, the rest of the line). Inside strings and
// quoted names \\ \" \n \r \t and \xHH stand for themselves. Numbers are decimal (a leading '-'
// stores the two's complement) or hexadecimal with 0x. Lines that do not parse are skipped and
// reported; the values of a section whose header does not parse are skipped with it.

struct SettingsValue {
    enum class Type { String, Number };
    Type type = Type::String;
    QString text;
    quint32 number = 0;

    static SettingsValue string(const QString &text) { return { Type::String, text, 0 }; }
    static SettingsValue fromNumber(quint32 number) { return { Type::Number, {}, number }; }
    bool operator==(const SettingsValue &other) const = default;
};

class SettingsTree
{
public:
    struct NamedValue {
        QString name;
        SettingsValue value;
        bool operator==(const NamedValue &other) const = default;
    };
    struct Key {
        QString path;
        QList<NamedValue> values;
        bool operator==(const Key &other) const = default;
    };

    // True when the key itself or any key below it is present.
    bool keyExists(const QString &path) const;
    // Adds the key when missing (its parents exist implicitly).
    void createKey(const QString &path);
    // Removes the key, its values and every key below it; false when there was nothing.
    bool deleteKey(const QString &path);
    // Names of the keys directly below `path`, in the order they first appear.
    QStringList subkeyNames(const QString &path) const;

    std::optional<SettingsValue> value(const QString &path, const QString &name) const;
    // Creates the key when missing and sets the value (replacing one of the same name).
    void setValue(const QString &path, const QString &name, const SettingsValue &value);

    const QList<Key> &keys() const { return m_keys; }
    bool operator==(const SettingsTree &other) const = default;

private:
    Key *findKey(const QString &path);
    const Key *findKey(const QString &path) const;

    QList<Key> m_keys;
};

// A key path is usable when it has no empty component and no control characters.
bool isValidKeyPath(const QString &path);

struct SettingsFileParse {
    SettingsTree tree;
    QStringList errors; // one text per skipped line: "line N: what is wrong"
};
SettingsFileParse parseSettingsFile(const QByteArray &source);
QByteArray serializeSettingsFile(const SettingsTree &tree);

} // namespace glimmerix
