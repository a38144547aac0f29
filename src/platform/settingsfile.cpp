#include "settingsfile.h"

#include "fillin.h"

namespace glimmerix
{

namespace
{

const QChar kSeparator = u'\\';

bool samePath(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// True when `path` lies below `ancestor` (not equal to it).
bool isBelow(const QString &path, const QString &ancestor)
{
    return path.size() > ancestor.size() + 1 && path[ancestor.size()] == kSeparator
        && samePath(path.left(ancestor.size()), ancestor);
}

bool isControl(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7F;
}

int hexDigit(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - '0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - 'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - 'A' + 10;
    return -1;
}

// Reads escaped text from `line` at `pos` up to an unescaped `terminator` (or to the end when
// the terminator is null). On success `pos` is just past the terminator.
std::optional<QString> readEscaped(QStringView line, qsizetype &pos, QChar terminator)
{
    QString out;
    while (pos < line.size()) {
        const QChar c = line[pos++];
        if (!terminator.isNull() && c == terminator)
            return out;
        if (c != kSeparator) {
            out += c;
            continue;
        }
        if (pos >= line.size())
            return std::nullopt;
        const QChar e = line[pos++];
        if (e == u'\\' || e == u'"')
            out += e;
        else if (e == u'n')
            out += u'\n';
        else if (e == u'r')
            out += u'\r';
        else if (e == u't')
            out += u'\t';
        else if (e == u'x' && pos + 1 < line.size() && hexDigit(line[pos]) >= 0
            && hexDigit(line[pos + 1]) >= 0) {
            out += QChar(char16_t(hexDigit(line[pos]) * 16 + hexDigit(line[pos + 1])));
            pos += 2;
        } else {
            return std::nullopt;
        }
    }
    if (terminator.isNull())
        return out;
    return std::nullopt;
}

QString escaped(const QString &text)
{
    QString out;
    out.reserve(text.size() + 2);
    for (const QChar c : text) {
        if (c == u'\\')
            out += QLatin1String("\\\\");
        else if (c == u'"')
            out += QLatin1String("\\\"");
        else if (c == u'\n')
            out += QLatin1String("\\n");
        else if (c == u'\r')
            out += QLatin1String("\\r");
        else if (c == u'\t')
            out += QLatin1String("\\t");
        else if (isControl(c))
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QChar(u'0'));
        else
            out += c;
    }
    return out;
}

std::optional<quint32> parseNumber(QStringView text)
{
    if (text.startsWith(u"0x", Qt::CaseInsensitive)) {
        const QStringView digits = text.mid(2);
        if (digits.isEmpty() || digits.size() > 8)
            return std::nullopt;
        quint32 value = 0;
        for (const QChar c : digits) {
            const int d = hexDigit(c);
            if (d < 0)
                return std::nullopt;
            value = value * 16 + quint32(d);
        }
        return value;
    }
    const bool negative = text.startsWith(u'-');
    const QStringView digits = negative ? text.mid(1) : text;
    if (digits.isEmpty() || digits.size() > 10)
        return std::nullopt;
    qint64 value = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
    }
    if (negative) {
        if (value > 0x80000000LL)
            return std::nullopt;
        return quint32(-value);
    }
    if (value > 0xFFFFFFFFLL)
        return std::nullopt;
    return quint32(value);
}

struct ValueLine {
    QString name;
    SettingsValue value;
};

std::optional<ValueLine> parseValueLine(QStringView line, QString &problem)
{
    ValueLine result;
    qsizetype pos = 0;
    if (line.startsWith(u'@')) {
        pos = 1;
    } else if (line.startsWith(u'"')) {
        pos = 1;
        const std::optional<QString> name = readEscaped(line, pos, u'"');
        if (!name) {
            problem = QStringLiteral("bad value name");
            return std::nullopt;
        }
        result.name = *name;
    } else {
        problem = QStringLiteral("not a section or a value");
        return std::nullopt;
    }
    while (pos < line.size() && line[pos].isSpace())
        ++pos;
    if (pos >= line.size() || line[pos] != u'=') {
        problem = QStringLiteral("'=' missing");
        return std::nullopt;
    }
    ++pos;
    while (pos < line.size() && line[pos].isSpace())
        ++pos;
    const QStringView data = line.mid(pos);
    if (data.startsWith(u"sz:", Qt::CaseInsensitive)) {
        qsizetype at = pos + 3;
        std::optional<QString> text;
        if (at < line.size() && line[at] == u'"') {
            ++at;
            text = readEscaped(line, at, u'"');
            if (text && !line.mid(at).trimmed().isEmpty())
                text.reset();
        } else {
            text = readEscaped(line, at, QChar());
        }
        if (!text) {
            problem = QStringLiteral("bad string");
            return std::nullopt;
        }
        result.value = SettingsValue::string(*text);
        return result;
    }
    if (data.startsWith(u"dword:", Qt::CaseInsensitive)) {
        const std::optional<quint32> number = parseNumber(data.mid(6).trimmed());
        if (!number) {
            problem = QStringLiteral("bad number");
            return std::nullopt;
        }
        result.value = SettingsValue::fromNumber(*number);
        return result;
    }
    problem = QStringLiteral("unknown value type");
    return std::nullopt;
}

} // namespace

bool isValidKeyPath(const QString &path)
{
    if (path.isEmpty())
        return false;
    for (const QStringView part : QStringView(path).split(kSeparator)) {
        if (part.isEmpty())
            return false;
    }
    for (const QChar c : path) {
        if (isControl(c))
            return false;
    }
    return true;
}

SettingsTree::Key *SettingsTree::findKey(const QString &path)
{
    for (Key &key : m_keys) {
        if (samePath(key.path, path))
            return &key;
    }
    return nullptr;
}

const SettingsTree::Key *SettingsTree::findKey(const QString &path) const
{
    for (const Key &key : m_keys) {
        if (samePath(key.path, path))
            return &key;
    }
    return nullptr;
}

bool SettingsTree::keyExists(const QString &path) const
{
    for (const Key &key : m_keys) {
        if (samePath(key.path, path) || isBelow(key.path, path))
            return true;
    }
    return false;
}

void SettingsTree::createKey(const QString &path)
{
    if (!findKey(path))
        m_keys.append(Key { path, {} });
}

bool SettingsTree::deleteKey(const QString &path)
{
    return m_keys.removeIf([&](const Key &key) {
        return samePath(key.path, path) || isBelow(key.path, path);
    }) > 0;
}

QStringList SettingsTree::subkeyNames(const QString &path) const
{
    QStringList names;
    for (const Key &key : m_keys) {
        if (!isBelow(key.path, path))
            continue;
        const QString rest = key.path.mid(path.size() + 1);
        const QString name = rest.left(rest.indexOf(kSeparator));
        if (!names.contains(name, Qt::CaseInsensitive))
            names << name;
    }
    return names;
}

std::optional<SettingsValue> SettingsTree::value(const QString &path, const QString &name) const
{
    const Key *key = findKey(path);
    if (!key)
        return std::nullopt;
    for (const NamedValue &entry : key->values) {
        if (samePath(entry.name, name))
            return entry.value;
    }
    return std::nullopt;
}

void SettingsTree::setValue(const QString &path, const QString &name, const SettingsValue &value)
{
    createKey(path);
    Key *key = findKey(path);
    for (NamedValue &entry : key->values) {
        if (samePath(entry.name, name)) {
            entry.value = value;
            return;
        }
    }
    key->values.append(NamedValue { name, value });
}

SettingsFileParse parseSettingsFile(const QByteArray &source)
{
    SettingsFileParse result;
    QByteArray bytes = source;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    const QList<QByteArray> lines = bytes.split('\n');
    QString section;
    bool sectionValid = false;
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QString line = QString::fromUtf8(lines[n]).trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        const auto fail = [&](const QString &problem) {
            result.errors << fillIn(QStringLiteral("line %1: %2"), n + 1, problem);
        };
        if (line.startsWith(u'[')) {
            section = line.endsWith(u']') ? line.mid(1, line.size() - 2) : QString();
            sectionValid = isValidKeyPath(section);
            if (sectionValid)
                result.tree.createKey(section);
            else
                fail(QStringLiteral("bad section header"));
            continue;
        }
        if (!sectionValid) {
            fail(QStringLiteral("value outside a valid section"));
            continue;
        }
        QString problem;
        const std::optional<ValueLine> value = parseValueLine(line, problem);
        if (!value) {
            fail(problem);
            continue;
        }
        result.tree.setValue(section, value->name, value->value);
    }
    return result;
}

QByteArray serializeSettingsFile(const SettingsTree &tree)
{
    QString text
        = QStringLiteral("; Glimmerix settings, UTF-8. Strings: sz:\"text\", numbers: dword:N.\n");
    for (const SettingsTree::Key &key : tree.keys()) {
        text += QStringLiteral("\n[%1]\n").arg(key.path);
        for (const SettingsTree::NamedValue &entry : key.values) {
            text += entry.name.isEmpty() ? QStringLiteral("@") : u'"' + escaped(entry.name) + u'"';
            switch (entry.value.type) {
            case SettingsValue::Type::String:
                text += QStringLiteral("=sz:\"%1\"\n").arg(escaped(entry.value.text));
                break;
            case SettingsValue::Type::Number:
                text += QStringLiteral("=dword:%1\n").arg(entry.value.number);
                break;
            }
        }
    }
    return text.toUtf8();
}

} // namespace glimmerix
