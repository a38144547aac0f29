#include "postcardfile.h"

#include "postcardformat.h"

#include "imaging/dib.h"

#include <cstring>

namespace glimmerix
{

using namespace PostcardLayout;

namespace
{

constexpr int kMaxCardSide = 4096;

QByteArray header(const char *name, std::uint32_t entries)
{
    QByteArray bytes(kHeaderSize, '\0');
    std::memcpy(bytes.data(), kMagic, sizeof kMagic);
    std::memcpy(bytes.data() + kVersionOffset, "1.0", 3);
    std::memcpy(bytes.data() + kNameOffset, name, std::strlen(name));
    putLe32(bytes, kEntryCountOffset, entries);
    return bytes;
}

// Whether `picture` is a packed 24-bit bitmap whose rows lie inside it.
bool isCardPicture(const QByteArray &picture)
{
    if (picture.size() < qsizetype(sizeof(BITMAPINFOHEADER)))
        return false;
    BITMAPINFOHEADER h;
    std::memcpy(&h, picture.constData(), sizeof h);
    h.biSize = qFromLittleEndian(h.biSize);
    h.biWidth = qFromLittleEndian(h.biWidth);
    h.biHeight = qFromLittleEndian(h.biHeight);
    h.biBitCount = qFromLittleEndian(h.biBitCount);
    h.biCompression = qFromLittleEndian(h.biCompression);
    if (h.biSize != sizeof(BITMAPINFOHEADER) || h.biBitCount != 24 || h.biCompression != kBiRgb)
        return false;
    if (h.biWidth < 1 || h.biWidth > kMaxCardSide || h.biHeight < 1 || h.biHeight > kMaxCardSide)
        return false;
    const qint64 needed = qint64(sizeof h) + qint64(dibRowBytes(h.biWidth, 24)) * h.biHeight;
    return picture.size() >= needed;
}

} // namespace

QByteArray postcardFileBytes(const PostcardContent &content)
{
    QByteArray bytes = header("background.vtp", content.hasEntry ? 1 : 0);
    if (!content.hasEntry)
        return bytes;
    QByteArray entry(kEntrySize, '\0');
    putLe32(entry, kEntryPictureSizeOffset, std::uint32_t(content.cardPicture.size()));
    putLe32(entry, kEntryFrameSizeOffset, std::uint32_t(content.frameData.size()));
    putLe16(entry, kEntryWindowSizeOffset, kWindowBlockSize);
    QByteArray window(kWindowBlockSize, '\0');
    putLe32(window, 0, std::uint32_t(content.window.left()));
    putLe32(window, 4, std::uint32_t(content.window.top()));
    putLe32(window, 8, std::uint32_t(content.window.width()));
    putLe32(window, 12, std::uint32_t(content.window.height()));
    const QByteArray name
        = content.clipName.toLatin1().left(kWindowBlockSize - kWindowNameOffset - 1);
    std::memcpy(window.data() + kWindowNameOffset, name.constData(), name.size());
    bytes.reserve(bytes.size() + kEntrySize + content.cardPicture.size() + kWindowBlockSize
        + content.frameData.size());
    bytes += entry;
    bytes += content.cardPicture;
    bytes += window;
    bytes += content.frameData;
    return bytes;
}

std::optional<PostcardContent> readPostcardFile(const QByteArray &bytes, QString *error)
{
    const auto fail = [error](const QString &why) -> std::optional<PostcardContent> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    if (bytes.size() < kHeaderSize || std::memcmp(bytes.constData(), kMagic, sizeof kMagic) != 0)
        return fail(QStringLiteral("not a postcard file"));
    const std::uint32_t entries = le32(bytes.constData() + kEntryCountOffset);
    PostcardContent content;
    if (entries == 0)
        return content;
    if (entries != 1)
        return fail(QStringLiteral("the file claims %1 entries; a postcard has one").arg(entries));
    qint64 at = kHeaderSize;
    if (bytes.size() - at < kEntrySize)
        return fail(QStringLiteral("the file ends inside its entry"));
    const char *entry = bytes.constData() + at;
    const qint64 pictureSize = le32(entry + kEntryPictureSizeOffset);
    const qint64 frameSize = le32(entry + kEntryFrameSizeOffset);
    const qint64 windowSize = le16(entry + kEntryWindowSizeOffset);
    if (windowSize != kWindowBlockSize)
        return fail(QStringLiteral("the window block has an unknown size"));
    at += kEntrySize;
    if (bytes.size() - at < pictureSize + kWindowBlockSize + frameSize)
        return fail(QStringLiteral("the file is shorter than its entry says"));
    content.hasEntry = true;
    content.cardPicture = bytes.mid(at, pictureSize);
    if (!isCardPicture(content.cardPicture))
        return fail(QStringLiteral("the card picture is not a 24-bit bitmap"));
    at += pictureSize;
    const char *windowBlock = bytes.constData() + at;
    const std::optional<QRect> window = windowAt(windowBlock);
    if (!window)
        return fail(QStringLiteral("the video window lies outside the card"));
    content.window = *window;
    const char *name = windowBlock + kWindowNameOffset;
    content.clipName
        = QString::fromLatin1(name, qsizetype(strnlen(name, kWindowBlockSize - kWindowNameOffset)));
    at += kWindowBlockSize;
    content.frameData = bytes.mid(at, frameSize);
    return content;
}

} // namespace glimmerix
