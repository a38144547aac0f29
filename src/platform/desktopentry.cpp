#include "desktopentry.h"

namespace glimmerix
{

bool isDesktopEntryPath(const QString &path)
{
    return path.endsWith(QLatin1String(".desktop"), Qt::CaseInsensitive);
}

namespace
{

// The general escapes of desktop-entry string values.
QString unescapeValue(const QString &value)
{
    QString text;
    text.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c != u'\\' || i + 1 == value.size()) {
            text += c;
            continue;
        }
        const QChar next = value[++i];
        switch (next.unicode()) {
        case 's':
            text += u' ';
            break;
        case 'n':
            text += u'\n';
            break;
        case 't':
            text += u'\t';
            break;
        case 'r':
            text += u'\r';
            break;
        case '\\':
            text += u'\\';
            break;
        default:
            text += u'\\';
            text += next;
        }
    }
    return text;
}

// Splits the Exec= line into words; false on an unterminated quote.
bool splitExecLine(const QString &exec, QStringList &words)
{
    QString word;
    bool inWord = false;
    bool quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (quoted) {
            if (c == u'"') {
                quoted = false;
            } else if (c == u'\\' && i + 1 < exec.size()) {
                word += exec[++i];
            } else {
                word += c;
            }
            continue;
        }
        if (c == u'"') {
            quoted = true;
            inWord = true;
        } else if (c == u' ' || c == u'\t' || c == u'\n') {
            if (inWord)
                words << word;
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (quoted)
        return false;
    if (inWord)
        words << word;
    return true;
}

} // namespace

DesktopEntry parseDesktopEntry(const QByteArray &contents)
{
    DesktopEntry entry;
    bool inMainGroup = false;
    const QList<QByteArray> lines = contents.split('\n');
    for (const QByteArray &rawLine : lines) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            inMainGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (!inMainGroup)
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = unescapeValue(line.mid(equals + 1).trimmed());
        if (key == QLatin1String("Name"))
            entry.name = value;
        else if (key == QLatin1String("Icon"))
            entry.icon = value;
        else if (key == QLatin1String("Exec"))
            entry.exec = value;
        else if (key == QLatin1String("Path"))
            entry.path = value;
    }
    entry.valid = !entry.exec.isEmpty();
    return entry;
}

QStringList expandExecLine(const QString &exec, const QStringList &files, const QString &name,
    const QString &icon, const QString &desktopFile)
{
    QStringList words;
    if (!splitExecLine(exec, words) || words.isEmpty())
        return {};
    QStringList result;
    bool filesUsed = false;
    for (const QString &word : std::as_const(words)) {
        if (word == QLatin1String("%F") || word == QLatin1String("%U")) {
            result << files;
            filesUsed = true;
            continue;
        }
        if (word == QLatin1String("%i")) {
            if (!icon.isEmpty())
                result << QStringLiteral("--icon") << icon;
            continue;
        }
        QString expanded;
        bool hadCode = false;
        for (qsizetype i = 0; i < word.size(); ++i) {
            if (word[i] != u'%' || i + 1 == word.size()) {
                expanded += word[i];
                continue;
            }
            const QChar code = word[++i];
            hadCode = true;
            switch (code.unicode()) {
            case '%':
                expanded += u'%';
                break;
            case 'f':
            case 'u':
            case 'F':
            case 'U':
                expanded += files.value(0);
                filesUsed = true;
                break;
            case 'c':
                expanded += name;
                break;
            case 'k':
                expanded += desktopFile;
                break;
            default:
                break; // deprecated and unknown codes vanish
            }
        }
        // A word that was only a field code with nothing to put in disappears.
        if (hadCode && expanded.isEmpty())
            continue;
        result << expanded;
    }
    if (result.isEmpty())
        return {};
    if (!filesUsed)
        result << files;
    return result;
}

} // namespace glimmerix
