#include "strings.h"

#include "fillin.h"

#include <QFile>
#include <QHash>
#include <QLocale>
#include <QResource>

#include <algorithm>

namespace glimmerix
{

namespace
{

const char *const kStringTablePath = ":/glimix/strings.txt";

struct Bundle {
    QString path;
    QHash<int, QString> strings;
};

Bundle &currentBundle()
{
    static Bundle bundle;
    return bundle;
}

QString unescape(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        QChar c = text[i];
        if (c != u'\\' || i + 1 == text.size()) {
            out += c;
            continue;
        }
        QChar next = text[++i];
        if (next == u'n')
            out += u'\n';
        else if (next == u't')
            out += u'\t';
        else if (next == u's')
            out += u' '; // a blank that survives the trimming of the line's ends
        else
            out += next;
    }
    return out;
}

} // namespace

StringTableParse parseStringTable(const QByteArray &source)
{
    StringTableParse result;
    const QList<QByteArray> lines = source.split('\n');
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QString line = QString::fromUtf8(lines[n]).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        // The number ends at the first white space (space, tab, line or page break).
        const auto white = std::find_if(line.cbegin(), line.cend(),
            [](QChar c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); });
        const qsizetype space = white == line.cend() ? -1 : white - line.cbegin();
        bool ok = false;
        const int id = (space < 0 ? line : line.left(space)).toInt(&ok);
        if (!ok || id < 0) {
            result.errors << QStringLiteral("line %1: no string number").arg(n + 1);
            continue;
        }
        if (result.strings.contains(id)) {
            result.errors << fillIn(QStringLiteral("line %1: string %2 given twice"), n + 1, id);
            continue;
        }
        result.strings.insert(
            id, space < 0 ? QString() : unescape(QStringView(line).mid(space + 1).trimmed()));
    }
    return result;
}

bool loadLanguageBundle(const QString &bundlePath)
{
    Bundle &bundle = currentBundle();
    if (!QFile::exists(bundlePath) || !QResource::registerResource(bundlePath))
        return false;
    QFile table(QString::fromLatin1(kStringTablePath));
    if (!table.open(QIODevice::ReadOnly)) {
        QResource::unregisterResource(bundlePath);
        return false;
    }
    if (!bundle.path.isEmpty() && bundle.path != bundlePath)
        QResource::unregisterResource(bundle.path);
    bundle.path = bundlePath;
    bundle.strings = parseStringTable(table.readAll()).strings;
    return true;
}

bool languageBundleLoaded()
{
    return !currentBundle().path.isEmpty();
}

QString loadString(int id)
{
    return currentBundle().strings.value(id);
}

bool hasString(int id)
{
    return currentBundle().strings.contains(id);
}

QString formatString(int id, const QStringList &args)
{
    const auto &strings = currentBundle().strings;
    const auto found = strings.constFind(id);
    if (found == strings.constEnd()) {
        QString fallback = QStringLiteral("Message %1").arg(id);
        for (const QString &arg : args)
            fallback += u' ' + arg;
        return fallback;
    }
    return formatPrintf(*found, args);
}

QImage bundleBitmap(int id)
{
    QImage image(QStringLiteral(":/glimix/bitmaps/%1.png").arg(id));
    if (image.isNull())
        image.load(QStringLiteral(":/glimix/bitmaps/%1.bmp").arg(id));
    return image;
}

QImage bundleIcon(int id)
{
    return QImage(QStringLiteral(":/glimix/icons/%1.png").arg(id));
}

QString systemLanguageName()
{
    return QLocale::languageToString(QLocale::system().language());
}

} // namespace glimmerix
