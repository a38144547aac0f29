#include "textlimits.h"

int utf8Length(const QString &text)
{
    return int(text.toUtf8().size());
}

QString cutToUtf8Bytes(const QString &text, int maxBytes)
{
    if (maxBytes < 0)
        return text;
    const QByteArray bytes = text.toUtf8();
    if (bytes.size() <= maxBytes)
        return text;
    // bytes[end] is the first byte that does not fit; step back over continuation bytes so the
    // cut lands before the character it belongs to.
    qsizetype end = maxBytes;
    while (end > 0 && (uchar(bytes[end]) & 0xC0) == 0x80)
        --end;
    return QString::fromUtf8(bytes.left(end));
}

bool pathFitsField(const QString &path)
{
    return utf8Length(path) <= kMaxPathBytes;
}
