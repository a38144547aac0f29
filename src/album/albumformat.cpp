#include "albumformat.h"

#include "platform/fillin.h"
#include "platform/textlimits.h"

#include <algorithm>
#include <cstring>

namespace glimmerix
{

QString attachmentRefusal(const QString &name, const QString &path)
{
    constexpr int kNameBytes = int(sizeof(AttachmentRecord::name)) - 1;
    constexpr int kPathBytes = int(sizeof(AttachmentRecord::path)) - 1;
    if (utf8Length(name) <= kNameBytes && utf8Length(path) <= kPathBytes)
        return {};
    return fillIn(QStringLiteral("the sound's name (%1 bytes) or path (%2 bytes) is too long"),
        kNameBytes, kPathBytes);
}

QString fixedText(const char *field, std::size_t fieldSize)
{
    const auto *end = static_cast<const char *>(std::memchr(field, 0, fieldSize));
    const std::size_t length = end ? std::size_t(end - field) : fieldSize;
    return QString::fromUtf8(field, qsizetype(length));
}

bool setFixedText(char *field, std::size_t fieldSize, const QString &text)
{
    std::memset(field, 0, fieldSize);
    if (fieldSize == 0)
        return text.isEmpty();
    const QByteArray whole = text.toUtf8();
    const QByteArray kept = utf8Prefix(text, fieldSize - 1);
    std::memcpy(field, kept.constData(), std::size_t(kept.size()));
    return kept.size() == whole.size();
}

namespace
{

template<std::size_t N, std::size_t M> void copyText(char (&to)[N], const char (&from)[M])
{
    static_assert(N >= M);
    std::memcpy(to, from, M);
    to[M - 1] = 0; // an unterminated old field still ends inside the wider one
}

} // namespace

ItemInfo widenItemInfo(const ItemInfoV11 &old)
{
    ItemInfo info {};
    info.fileSize = old.fileSize;
    info.fileTime = old.fileTime;
    copyText(info.path, old.path);
    copyText(info.description, old.description);
    copyText(info.caption, old.caption);
    copyText(info.keywords, old.keywords);
    info.pathIsRelative = old.pathIsRelative;
    info.sourceBitDepth = old.sourceBitDepth;
    info.sourceWidth = old.sourceWidth;
    info.sourceHeight = old.sourceHeight;
    info.dataOffset = old.dataOffset;
    info.thumbWidth = old.thumbWidth;
    info.thumbHeight = old.thumbHeight;
    info.dataSize = old.dataSize;
    info.isMedia = old.isMedia;
    info.reserved = old.reserved;
    return info;
}

AlbumFileHeader makeAlbumHeader()
{
    AlbumFileHeader header {};
    header.magic = kAlbumMagic;
    std::memcpy(header.version, kAlbumVersion13, std::strlen(kAlbumVersion13));
    return header;
}

} // namespace glimmerix
