#include "recentlyused.h"

#include "fillin.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>

namespace glimmerix
{

namespace
{

const QString kBookmarkNs
    = QStringLiteral("http://www.freedesktop.org/standards/desktop-bookmarks");
const QString kMimeNs = QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info");
const QString kOwner = QStringLiteral("http://freedesktop.org");

// The file as a plain tree: names are kept as written (prefix included), so whatever another
// program put there is written back the same.
struct XmlNode {
    QString name; // empty for a text node
    QString text;
    QList<std::pair<QString, QString>> attributes;
    QList<XmlNode> children;

    QString attribute(const QString &key) const
    {
        for (const auto &[name, value] : attributes) {
            if (name == key)
                return value;
        }
        return {};
    }
    void setAttribute(const QString &key, const QString &value)
    {
        for (auto &[name, old] : attributes) {
            if (name == key) {
                old = value;
                return;
            }
        }
        attributes.append({ key, value });
    }
    XmlNode *child(const QString &childName, const QString &key = {}, const QString &value = {})
    {
        for (XmlNode &node : children) {
            if (node.name == childName && (key.isEmpty() || node.attribute(key) == value))
                return &node;
        }
        return nullptr;
    }
    XmlNode &ensureChild(
        const QString &childName, const QString &key = {}, const QString &value = {})
    {
        if (XmlNode *found = child(childName, key, value))
            return *found;
        XmlNode node { childName, {}, {}, {} };
        if (!key.isEmpty())
            node.attributes.append({ key, value });
        children.append(node);
        return children.last();
    }
};

bool readElement(QXmlStreamReader &reader, XmlNode &node)
{
    node.name = reader.qualifiedName().toString();
    for (const QXmlStreamAttribute &attribute : reader.attributes())
        node.attributes.append(
            { attribute.qualifiedName().toString(), attribute.value().toString() });
    for (const QXmlStreamNamespaceDeclaration &declaration : reader.namespaceDeclarations()) {
        const QString prefix = declaration.prefix().toString();
        const QString name
            = prefix.isEmpty() ? QStringLiteral("xmlns") : QStringLiteral("xmlns:") + prefix;
        if (node.attribute(name).isEmpty())
            node.attributes.append({ name, declaration.namespaceUri().toString() });
    }
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement: {
            XmlNode child;
            if (!readElement(reader, child))
                return false;
            node.children.append(child);
            break;
        }
        case QXmlStreamReader::EndElement:
            return true;
        case QXmlStreamReader::Characters:
            if (!reader.isWhitespace())
                node.children.append({ {}, reader.text().toString(), {}, {} });
            break;
        default:
            break;
        }
    }
    return false;
}

void writeNode(QXmlStreamWriter &writer, const XmlNode &node)
{
    if (node.name.isEmpty()) {
        writer.writeCharacters(node.text);
        return;
    }
    writer.writeStartElement(node.name);
    for (const auto &[name, value] : node.attributes)
        writer.writeAttribute(name, value);
    for (const XmlNode &child : node.children)
        writeNode(writer, child);
    writer.writeEndElement();
}

QString stamp(const QDateTime &when)
{
    return when.toUTC().toString(Qt::ISODateWithMs);
}

QDateTime stampTime(const XmlNode &bookmark)
{
    const QString text = bookmark.attribute(QStringLiteral("modified"));
    QDateTime time = QDateTime::fromString(text, Qt::ISODateWithMs);
    return time.isValid() ? time : QDateTime::fromString(text, Qt::ISODate);
}

// Keeps the newest `limit` bookmarks, in their order.
void bound(XmlNode &root, int limit)
{
    QList<QDateTime> times;
    for (const XmlNode &node : root.children) {
        if (node.name == QLatin1String("bookmark"))
            times.append(stampTime(node));
    }
    if (times.size() <= limit)
        return;
    std::sort(times.begin(), times.end());
    const QDateTime oldestKept = times[times.size() - limit];
    int extra = int(times.size()) - limit;
    root.children.removeIf([&](const XmlNode &node) {
        if (extra <= 0 || node.name != QLatin1String("bookmark") || stampTime(node) >= oldestKept)
            return false;
        --extra;
        return true;
    });
}

} // namespace

QString recentlyUsedPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/recently-used.xbel");
}

QString addToRecentlyUsed(const QString &bookmarkFile, const QString &file, const QString &mimeType,
    const RecentlyUsedApp &app, const QDateTime &when, int limit)
{
    XmlNode root { QStringLiteral("xbel"), {},
        { { QStringLiteral("version"), QStringLiteral("1.0") } }, {} };
    QFile existing(bookmarkFile);
    const bool existed = existing.exists();
    if (existed) {
        if (!existing.open(QIODevice::ReadOnly))
            return bookmarkFile + QStringLiteral(": ") + existing.errorString();
        QXmlStreamReader reader(&existing);
        reader.setNamespaceProcessing(false);
        XmlNode read;
        while (!reader.atEnd() && reader.readNext() != QXmlStreamReader::StartElement) { }
        const bool complete = reader.isStartElement() && readElement(reader, read);
        if (reader.hasError() || !complete || read.name != QLatin1String("xbel"))
            return bookmarkFile
                + fillIn(QStringLiteral(": not a bookmark file, left as it is (line %1: %2)"),
                    reader.lineNumber(),
                    reader.hasError() ? reader.errorString() : QStringLiteral("no xbel element"));
        root = read;
    }
    if (root.attribute(QStringLiteral("xmlns:bookmark")).isEmpty())
        root.setAttribute(QStringLiteral("xmlns:bookmark"), kBookmarkNs);
    if (root.attribute(QStringLiteral("xmlns:mime")).isEmpty())
        root.setAttribute(QStringLiteral("xmlns:mime"), kMimeNs);

    const QString now = stamp(when);
    const QString href = QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded);
    XmlNode *bookmark = root.child(QStringLiteral("bookmark"), QStringLiteral("href"), href);
    if (!bookmark) {
        root.children.append({ QStringLiteral("bookmark"), {},
            { { QStringLiteral("href"), href }, { QStringLiteral("added"), now } }, {} });
        bookmark = &root.children.last();
    }
    bookmark->setAttribute(QStringLiteral("modified"), now);
    bookmark->setAttribute(QStringLiteral("visited"), now);
    XmlNode &metadata
        = bookmark->ensureChild(QStringLiteral("info"))
              .ensureChild(QStringLiteral("metadata"), QStringLiteral("owner"), kOwner);
    if (!metadata.child(QStringLiteral("mime:mime-type")))
        metadata.ensureChild(QStringLiteral("mime:mime-type"), QStringLiteral("type"), mimeType);
    XmlNode &application = metadata.ensureChild(QStringLiteral("bookmark:applications"))
                               .ensureChild(QStringLiteral("bookmark:application"),
                                   QStringLiteral("name"), app.name);
    application.setAttribute(QStringLiteral("exec"), app.exec);
    application.setAttribute(QStringLiteral("modified"), now);
    application.setAttribute(QStringLiteral("count"),
        QString::number(application.attribute(QStringLiteral("count")).toInt() + 1));
    bound(root, limit);

    QDir().mkpath(QFileInfo(bookmarkFile).absolutePath());
    QSaveFile out(bookmarkFile);
    if (!out.open(QIODevice::WriteOnly))
        return bookmarkFile + QStringLiteral(": ") + out.errorString();
    QXmlStreamWriter writer(&out);
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    writeNode(writer, root);
    writer.writeEndDocument();
    if (writer.hasError() || !out.commit())
        return bookmarkFile + QStringLiteral(": ") + out.errorString();
    // What the user opened is their own business: a new list is readable by them alone.
    if (!existed)
        QFile::setPermissions(bookmarkFile, QFile::ReadOwner | QFile::WriteOwner);
    return {};
}

} // namespace glimmerix
