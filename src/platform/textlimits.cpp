#include "textlimits.h"

namespace glimmerix
{

int utf8Length(const QString &text)
{
    return int(text.toUtf8().size());
}

QByteArray utf8Prefix(const QString &text, std::size_t maxBytes)
{
    QByteArray bytes = text.toUtf8();
    if (std::size_t(bytes.size()) <= maxBytes)
        return bytes;
    // bytes[cut] is the first byte that does not fit; step back over continuation bytes so the
    // cut lands before the character it belongs to.
    std::size_t cut = maxBytes;
    while (cut > 0 && (uchar(bytes[qsizetype(cut)]) & 0xC0) == 0x80)
        --cut;
    bytes.truncate(qsizetype(cut));
    return bytes;
}

QString cutToUtf8Bytes(const QString &text, int maxBytes)
{
    if (maxBytes < 0)
        return text;
    const QByteArray kept = utf8Prefix(text, std::size_t(maxBytes));
    // A text that fits is returned as it stands, not as its UTF-8 round trip.
    return kept.size() == utf8Length(text) ? text : QString::fromUtf8(kept);
}

bool pathFitsField(const QString &path)
{
    return utf8Length(path) <= kMaxPathBytes;
}

} // namespace glimmerix
