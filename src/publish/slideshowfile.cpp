#include "slideshowfile.h"

#include "album/albumformat.h"
#include "platform/fillin.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace glimmerix
{

namespace
{

// Header fields.
constexpr int kTotalAt = 4;
constexpr int kCountAt = 8;
constexpr int kDataStartAt = 12;
constexpr int kTitleAt = 16;
constexpr int kTitleBytes = 128;
constexpr int kSoundModeAt = 144;
constexpr int kMusicNameAt = 148;
constexpr int kNameBytes = 260;
constexpr int kMusicSecondsAt = 408;

// Entry fields.
constexpr int kPictureTimeAt = 4;
constexpr int kPictureNameAt = 8;
constexpr int kShortTextBytes = 128;
constexpr int kNotesAt = 136;
constexpr int kSoundNameAt = 264;
constexpr int kSoundSecondsAt = 524;
constexpr int kEntryMarkAt = 528;
constexpr std::uint16_t kEntryMark = 2;
constexpr int kBitsAt = 530;
constexpr int kWidthAt = 532;
constexpr int kHeightAt = 534;
constexpr int kThumbOffsetAt = 536;
constexpr int kThumbWidthAt = 540;
constexpr int kThumbHeightAt = 542;
constexpr int kThumbBytesAt = 544;
constexpr int kMediaMarkAt = 548;
constexpr int kReservedAt = 550;

constexpr char kSignature[4] = { 'P', 'A', 'L', 'M' };

template<typename T> void put(char *at, T value)
{
    qToLittleEndian(value, at);
}

template<typename T> T get(const char *at)
{
    return qFromLittleEndian<T>(at);
}

void putText(char *at, int fieldBytes, const QString &text)
{
    setFixedText(at, std::size_t(fieldBytes), text);
}

QString getText(const char *at, int fieldBytes)
{
    return fixedText(at, std::size_t(fieldBytes));
}

} // namespace

QByteArray encodeSlideShow(const SlideShowFile &show)
{
    const qsizetype count = show.entries.size();
    qint64 thumbBytes = 0;
    for (const ShowEntry &entry : show.entries)
        thumbBytes += entry.thumbnail.size();
    const qsizetype tableEnd = kShowHeaderBytes + kShowEntryBytes * count;
    QByteArray bytes(tableEnd + qsizetype(thumbBytes), '\0');
    char *header = bytes.data();
    std::memcpy(header, kSignature, sizeof kSignature);
    put<std::uint32_t>(header + kTotalAt, std::uint32_t(thumbBytes + kShowEntryBytes * count));
    put<std::uint32_t>(header + kCountAt, std::uint32_t(count));
    put<std::uint32_t>(header + kDataStartAt, std::uint32_t(tableEnd));
    putText(header + kTitleAt, kTitleBytes, show.title);
    put<std::uint32_t>(header + kSoundModeAt, std::uint32_t(show.sound));
    if (show.sound == ShowSound::Music) {
        putText(header + kMusicNameAt, kNameBytes, show.musicName);
        put<std::uint32_t>(header + kMusicSecondsAt, show.musicSeconds);
    }
    std::uint32_t thumbOffset = 0;
    char *thumbs = bytes.data() + tableEnd;
    for (qsizetype i = 0; i < count; ++i) {
        const ShowEntry &entry = show.entries.at(i);
        char *at = bytes.data() + kShowHeaderBytes + kShowEntryBytes * i;
        put<std::uint32_t>(at, entry.pictureBytes);
        put<std::uint32_t>(at + kPictureTimeAt, entry.pictureTime);
        putText(at + kPictureNameAt, kShortTextBytes, entry.pictureName);
        putText(at + kNotesAt, kShortTextBytes, entry.notes);
        if (show.sound == ShowSound::PictureSounds) {
            putText(at + kSoundNameAt, kNameBytes, entry.soundName);
            put<std::uint32_t>(at + kSoundSecondsAt, entry.soundSeconds);
        }
        put<std::uint16_t>(at + kEntryMarkAt, kEntryMark);
        put<std::uint16_t>(at + kBitsAt, entry.bitsPerPixel);
        put<std::uint16_t>(at + kWidthAt, entry.width);
        put<std::uint16_t>(at + kHeightAt, entry.height);
        put<std::uint32_t>(at + kThumbOffsetAt, thumbOffset);
        put<std::uint16_t>(at + kThumbWidthAt, entry.thumbWidth);
        put<std::uint16_t>(at + kThumbHeightAt, entry.thumbHeight);
        put<std::uint32_t>(at + kThumbBytesAt, std::uint32_t(entry.thumbnail.size()));
        put<std::uint16_t>(at + kMediaMarkAt, entry.mediaMark);
        put<std::uint16_t>(at + kReservedAt, entry.reserved);
        if (!entry.thumbnail.isEmpty())
            std::memcpy(thumbs + thumbOffset, entry.thumbnail.constData(),
                std::size_t(entry.thumbnail.size()));
        thumbOffset += std::uint32_t(entry.thumbnail.size());
    }
    return bytes;
}

bool decodeSlideShow(const QByteArray &bytes, SlideShowFile &show, QString *error)
{
    const auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    show = SlideShowFile();
    if (bytes.size() < kShowHeaderBytes)
        return fail(QStringLiteral("the file is shorter than a show file header"));
    const char *header = bytes.constData();
    if (std::memcmp(header, kSignature, sizeof kSignature) != 0)
        return fail(QStringLiteral("not a slide show file (no \"PALM\" signature)"));
    const std::uint32_t count = get<std::uint32_t>(header + kCountAt);
    const qint64 room = (bytes.size() - kShowHeaderBytes) / kShowEntryBytes;
    if (qint64(count) > room)
        return fail(fillIn(
            QStringLiteral("the file names %1 pictures but holds room for %2"), count, room));
    const std::uint32_t mode = get<std::uint32_t>(header + kSoundModeAt);
    if (mode > std::uint32_t(ShowSound::None))
        return fail(QStringLiteral("unknown sound mode %1").arg(mode));
    // The thumbnails start after the table; a header that says otherwise is taken at its word
    // only while that stays inside the file.
    const qint64 tableEnd = kShowHeaderBytes + qint64(kShowEntryBytes) * count;
    qint64 dataStart = get<std::uint32_t>(header + kDataStartAt);
    if (dataStart < tableEnd || dataStart > bytes.size())
        dataStart = tableEnd;

    show.title = getText(header + kTitleAt, kTitleBytes);
    show.sound = ShowSound(mode);
    if (show.sound == ShowSound::Music) {
        show.musicName = packageFileName(getText(header + kMusicNameAt, kNameBytes));
        show.musicSeconds = get<std::uint32_t>(header + kMusicSecondsAt);
    }
    show.entries.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const char *at = header + kShowHeaderBytes + qint64(kShowEntryBytes) * i;
        ShowEntry entry;
        entry.pictureBytes = get<std::uint32_t>(at);
        entry.pictureTime = get<std::uint32_t>(at + kPictureTimeAt);
        entry.pictureName = packageFileName(getText(at + kPictureNameAt, kShortTextBytes));
        entry.notes = getText(at + kNotesAt, kShortTextBytes);
        if (show.sound == ShowSound::PictureSounds) {
            entry.soundName = packageFileName(getText(at + kSoundNameAt, kNameBytes));
            entry.soundSeconds = get<std::uint32_t>(at + kSoundSecondsAt);
        }
        entry.bitsPerPixel = get<std::uint16_t>(at + kBitsAt);
        entry.width = get<std::uint16_t>(at + kWidthAt);
        entry.height = get<std::uint16_t>(at + kHeightAt);
        entry.thumbWidth = get<std::uint16_t>(at + kThumbWidthAt);
        entry.thumbHeight = get<std::uint16_t>(at + kThumbHeightAt);
        entry.mediaMark = get<std::uint16_t>(at + kMediaMarkAt);
        entry.reserved = get<std::uint16_t>(at + kReservedAt);
        const qint64 offset = get<std::uint32_t>(at + kThumbOffsetAt);
        const qint64 size = get<std::uint32_t>(at + kThumbBytesAt);
        if (dataStart + offset + size <= bytes.size())
            entry.thumbnail = bytes.mid(dataStart + offset, size);
        show.entries.append(entry);
    }
    return true;
}

QString packageFileName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return {};
    for (const QChar c : name) {
        if (c == u'/' || c == u'\\' || c.category() == QChar::Other_Control)
            return {};
    }
    return name;
}

int slideMilliseconds(const SlideShowFile &show, int index)
{
    constexpr qint64 kShortest = 1000;
    constexpr qint64 kLongest = 24 * 3600 * 1000;
    qint64 ms = kPlainSlideMilliseconds;
    if (show.sound == ShowSound::Music && show.musicSeconds > 0 && !show.entries.isEmpty())
        ms = qint64(show.musicSeconds) * 1000 / show.entries.size();
    else if (show.sound == ShowSound::PictureSounds && index >= 0 && index < show.entries.size()
        && show.entries.at(index).soundSeconds > 0)
        ms = qint64(show.entries.at(index).soundSeconds) * 1000;
    return int(std::clamp(ms, kShortest, kLongest));
}

} // namespace glimmerix
