#include "onlineprotocol.h"

#include "platform/fillin.h"
#include "platform/textlimits.h"

#include <QUrl>

#include <limits>

namespace glimmerix
{

namespace
{

// Field lines of the whole reply are counted up to this limit; a reply cannot hold more lines
// than bytes anyway, this only keeps the count in range.
constexpr qsizetype kMaxRecords = 1 << 20;

QString fieldValue(const QByteArray &value, int fieldBytes)
{
    return cutToUtf8Bytes(QString::fromUtf8(value), fieldBytes - 1);
}

void applyFieldLine(const QByteArray &line, RemoteImage &image)
{
    const qsizetype equals = line.indexOf('=');
    if (equals < 0)
        return;
    const QByteArray key = line.left(equals);
    const QByteArray value = line.mid(equals + 1);
    if (key == "filename")
        image.filename = fieldValue(value, kRemoteFilenameBytes);
    else if (key == "keyword")
        image.keyword = fieldValue(value, kRemoteKeywordBytes);
    else if (key == "caption")
        image.caption = fieldValue(value, kRemoteCaptionBytes);
    else if (key == "descrip")
        image.descrip = fieldValue(value, kRemoteDescripBytes);
    else if (key == "id")
        image.id = numberLineValue(line).value_or(0);
}

} // namespace

QByteArray ListLineReader::next()
{
    const qsizetype lineFeed = m_data.indexOf('\n', m_position);
    if (lineFeed < 0) {
        QByteArray rest = m_data.mid(m_position);
        m_position = m_data.size();
        return rest;
    }
    QByteArray line = m_data.mid(m_position, lineFeed - m_position);
    m_position = lineFeed + 1;
    const qsizetype tag = line.indexOf('<');
    return tag < 0 ? QByteArray() : line.left(tag);
}

std::optional<int> numberLineValue(const QByteArray &line)
{
    const qsizetype equals = line.lastIndexOf('=');
    if (equals < 0)
        return std::nullopt;
    qint64 value = 0;
    for (qsizetype i = equals + 1; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
        value = value * 10 + (line[i] - '0');
        if (value > std::numeric_limits<int>::max())
            return std::numeric_limits<int>::max();
    }
    return int(value);
}

ListResult parseImageList(const QByteArray &reply, QList<RemoteImage> &images)
{
    images.clear();
    ListLineReader reader(reply);
    const QByteArray first = reader.next();
    if (first.isEmpty())
        return ListResult::Empty;
    const std::optional<int> count = numberLineValue(first);
    if (!count)
        return ListResult::Listed;
    const qint64 linesPerImage = qint64(numberLineValue(reader.next()).value_or(0)) + 1;
    qint64 fieldLines = 0;
    for (int n = 0; n < *count && !reader.atEnd() && images.size() < kMaxRecords; ++n) {
        RemoteImage image;
        for (qint64 line = 0; line < linesPerImage && !reader.atEnd(); ++line) {
            applyFieldLine(reader.next(), image);
            ++fieldLines;
        }
        images.append(image);
    }
    return fieldLines == 1 ? ListResult::SingleField : ListResult::Listed;
}

QString serverFromLookup(const QByteArray &reply)
{
    QByteArray text = reply;
    const auto isLineEnd = [](char c) { return c == '\n' || c == '\r'; };
    if (text.size() >= 2 && isLineEnd(text[text.size() - 2]))
        text.truncate(text.size() - 2);
    if (!text.isEmpty() && isLineEnd(text.back()))
        text.chop(1);
    return QString::fromUtf8(text);
}

std::optional<int> uploadReplyCode(const QByteArray &reply)
{
    const qsizetype marker = reply.indexOf(kUploadReplyMarker);
    if (marker < 0)
        return std::nullopt;
    qsizetype i = marker + qsizetype(qstrlen(kUploadReplyMarker));
    bool negative = false;
    if (i < reply.size() && (reply[i] == '-' || reply[i] == '+'))
        negative = reply[i++] == '-';
    qint64 value = 0;
    for (; i < reply.size() && reply[i] >= '0' && reply[i] <= '9'; ++i)
        value = std::min<qint64>(value * 10 + (reply[i] - '0'), std::numeric_limits<int>::max());
    return int(negative ? -value : value);
}

QString localPictureName(int id, const QString &filename)
{
    QString name = filename.section(QLatin1Char('/'), -1).section(QLatin1Char('\\'), -1);
    for (QChar &c : name) {
        if (c.unicode() < 0x20 || c == QLatin1Char(':'))
            c = QLatin1Char('_');
    }
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        name = QStringLiteral("picture.jpg");
    return fillIn(QStringLiteral("%1_%2"), id, name);
}

QByteArray encodeQueryValue(const QString &value)
{
    return QUrl::toPercentEncoding(value);
}

} // namespace glimmerix
