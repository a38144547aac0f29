#pragma once

#include <QString>

#include <span>

namespace glimmerix
{

// What a file is, decided once at the door from its name and its first bytes. Everything that
// would otherwise look at an extension to choose a reader (import, thumbnails, the picture
// window, products, search, the command-line tool) asks this value instead.
//
// The eight picture types of the album (.BMP .TIF .PCX .TGA .JPG .PCD .FPX .QSF) and the clip
// and sound names the album has always known (.AVI .MOV .MPG .MPEG .WAV .MP3) keep their
// extension rule, so what an existing album means never changes. Every other file is recognised
// by its content: a JPEG named ".HEIC", a PNG without an extension and a ".jpeg" file all open.

enum class MediaClass {
    Picture, // a still picture
    Clip, // a video clip
    Sound,
    Other, // not media, or not recognised
};

enum class MediaFormat {
    Unknown,
    // The album's own picture types.
    Bmp,
    Tiff,
    Pcx,
    Targa,
    Jpeg,
    PhotoCd,
    FlashPix,
    Qsf,
    // Pictures of today.
    Png,
    Gif,
    WebP,
    Heif, // HEIC and other HEIF stills
    Avif,
    JpegXl,
    CameraRaw, // NEF, CR2, CR3, ARW, DNG, ORF, RW2, RAF, PEF, SRW, ...
    // Clips.
    Avi,
    Mpeg, // MPEG program stream (.MPG, .MPEG)
    QuickTime, // ISO base media: MOV, MP4, M4V, 3GP
    Matroska, // MKV and WebM
    MpegTransport, // MTS, M2TS, TS
    // Sounds.
    Wave,
    Mp3,
    Ogg, // Vorbis or Opus in Ogg
    Flac,
    M4a,
};

struct MediaFile {
    QString path;
    MediaClass kind = MediaClass::Other;
    MediaFormat format = MediaFormat::Unknown;
    // True when the format came from one of the album's own extensions (the eight picture types,
    // .AVI .MOV .MPG .MPEG .WAV .MP3); false when the content decided it.
    bool byExtension = false;

    bool isPicture() const { return kind == MediaClass::Picture; }
    bool isClip() const { return kind == MediaClass::Clip; }
    bool isSound() const { return kind == MediaClass::Sound; }
    // One of the album's eight picture types, read through the picture type table by extension.
    bool isAlbumPictureType() const { return byExtension && kind == MediaClass::Picture; }
};

// Decides what the file at `path` is. Reads at most the first few hundred bytes, and only when
// the extension is not one of the album's own; a file that cannot be read is Other (unless its
// extension decides).
MediaFile identifyMediaFile(const QString &path);
// The same decision on the first bytes of a file already at hand (`head` may be shorter than
// the file, or empty). Never reads anything.
MediaFile identifyMediaBytes(const QString &path, std::span<const unsigned char> head);
// How many first bytes `identifyMediaBytes` looks at, at most.
inline constexpr int kMediaHeadBytes = 512;

// The format's short name for people and JSON output: "JPEG", "HEIF", "camera RAW", "MP4/MOV".
QString mediaFormatName(MediaFormat format);
// True for still formats every current web browser shows as they are (JPEG, PNG, GIF, WebP).
bool browserShowsPicture(MediaFormat format);

} // namespace glimmerix
