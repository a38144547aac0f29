#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>

namespace glimmerix
{

// The show file "slide.sld" that a slide show package carries: a 412-byte header, one 552-byte
// entry per picture in show order, then every picture's thumbnail bitmap in the same order. All
// numbers are little-endian; texts are zero-terminated UTF-8 in zero-filled fields. The packager
// writes it, the player and the command line read it; the reader takes files from anywhere.

inline constexpr int kShowHeaderBytes = 412;
inline constexpr int kShowEntryBytes = 552;
inline constexpr const char *kShowFileName = "slide.sld";

// Where the sound of a show comes from.
enum class ShowSound : std::uint32_t { Music = 0, PictureSounds = 1, None = 2 };

struct ShowEntry {
    std::uint32_t pictureBytes = 0; // size of the picture file
    std::uint32_t pictureTime = 0; // its creation time, seconds since 1970
    QString pictureName; // the JPEG file in the package folder
    QString notes; // the item's description, shown as the caption
    QString soundName; // PictureSounds: the picture's own sound file
    std::uint32_t soundSeconds = 0;
    std::uint16_t bitsPerPixel = 0; // of the full picture
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint16_t thumbWidth = 0;
    std::uint16_t thumbHeight = 0;
    std::uint16_t mediaMark = 0; // 1 for a media item that is not a still picture
    std::uint16_t reserved = 0;
    QByteArray thumbnail; // packed 24-bit bitmap, as the album stores it
};

struct SlideShowFile {
    QString title;
    ShowSound sound = ShowSound::None;
    QString musicName; // Music: the music file in the package folder
    std::uint32_t musicSeconds = 0;
    QList<ShowEntry> entries;
};

// The file's bytes. Texts longer than their fields are cut at a character boundary.
QByteArray encodeSlideShow(const SlideShowFile &show);

// Reads a show file. False (with `error` saying why) when it is not one: wrong signature, a
// header cut short, entries that the file cannot hold, or an unknown sound mode. Within a file
// that reads, a thumbnail that lies outside the file is left empty, and a file name that is not a
// plain name in the package folder (packageFileName) reads as empty.
bool decodeSlideShow(const QByteArray &bytes, SlideShowFile &show, QString *error = nullptr);

// `name` when it names a file directly in the package folder; empty when it holds a folder
// separator, is "." or "..", or holds control characters.
QString packageFileName(const QString &name);

// How long picture `index` stays on the screen, in milliseconds: with music the music's length
// shared by the pictures, with picture sounds the picture's own sound (a silent picture the
// plain time), else the plain time. Never below one second.
int slideMilliseconds(const SlideShowFile &show, int index);
inline constexpr int kPlainSlideMilliseconds = 5000;

} // namespace glimmerix
