#include "mediafile.h"

#include "mediatypes.h"

#include <QFile>

#include <array>
#include <cstring>

namespace glimmerix
{

namespace
{

struct ExtensionRule {
    const char *extension; // upper-cased, with the dot
    MediaClass kind;
    MediaFormat format;
};

// The names the album has always decided on by extension alone.
constexpr std::array kAlbumExtensions = {
    ExtensionRule { ".BMP", MediaClass::Picture, MediaFormat::Bmp },
    ExtensionRule { ".TIF", MediaClass::Picture, MediaFormat::Tiff },
    ExtensionRule { ".PCX", MediaClass::Picture, MediaFormat::Pcx },
    ExtensionRule { ".TGA", MediaClass::Picture, MediaFormat::Targa },
    ExtensionRule { ".JPG", MediaClass::Picture, MediaFormat::Jpeg },
    ExtensionRule { ".PCD", MediaClass::Picture, MediaFormat::PhotoCd },
    ExtensionRule { ".FPX", MediaClass::Picture, MediaFormat::FlashPix },
    ExtensionRule { ".QSF", MediaClass::Picture, MediaFormat::Qsf },
    ExtensionRule { ".AVI", MediaClass::Clip, MediaFormat::Avi },
    ExtensionRule { ".MOV", MediaClass::Clip, MediaFormat::QuickTime },
    ExtensionRule { ".MPG", MediaClass::Clip, MediaFormat::Mpeg },
    ExtensionRule { ".MPEG", MediaClass::Clip, MediaFormat::Mpeg },
    ExtensionRule { ".WAV", MediaClass::Sound, MediaFormat::Wave },
    ExtensionRule { ".MP3", MediaClass::Sound, MediaFormat::Mp3 },
};

// Camera RAW names. Most of these files start like a TIFF file, so only the name tells them
// from one; LibRaw makes the final decision when it reads them.
constexpr std::array kRawExtensions = { ".NEF", ".NRW", ".CR2", ".CR3", ".CRW", ".ARW", ".SRF",
    ".SR2", ".DNG", ".ORF", ".RW2", ".RAF", ".PEF", ".SRW", ".RWL", ".3FR", ".ERF", ".KDC", ".MRW",
    ".MEF", ".MOS", ".IIQ", ".X3F" };

bool isRawExtension(const QString &extension)
{
    for (const char *candidate : kRawExtensions) {
        if (extension == QLatin1String(candidate))
            return true;
    }
    return false;
}

class Head
{
public:
    explicit Head(std::span<const unsigned char> bytes)
        : m_bytes(bytes)
    {
    }
    bool has(std::size_t offset, const char *text) const
    {
        const std::size_t length = std::strlen(text);
        return offset + length <= m_bytes.size()
            && std::memcmp(m_bytes.data() + offset, text, length) == 0;
    }
    bool hasBytes(std::size_t offset, std::initializer_list<unsigned char> expected) const
    {
        if (offset + expected.size() > m_bytes.size())
            return false;
        std::size_t i = offset;
        for (unsigned char c : expected) {
            if (m_bytes[i++] != c)
                return false;
        }
        return true;
    }
    int at(std::size_t offset) const { return offset < m_bytes.size() ? m_bytes[offset] : -1; }
    std::uint32_t bigEndian32(std::size_t offset) const
    {
        if (offset + 4 > m_bytes.size())
            return 0;
        return std::uint32_t(m_bytes[offset]) << 24 | std::uint32_t(m_bytes[offset + 1]) << 16
            | std::uint32_t(m_bytes[offset + 2]) << 8 | std::uint32_t(m_bytes[offset + 3]);
    }
    std::size_t size() const { return m_bytes.size(); }

private:
    std::span<const unsigned char> m_bytes;
};

struct Decision {
    MediaClass kind = MediaClass::Other;
    MediaFormat format = MediaFormat::Unknown;
};

// The ISO base media file types tell themselves apart by their brands: the major brand, then
// the compatible ones. A still-picture brand wins over a clip brand.
Decision isoBaseMediaType(const Head &head)
{
    const std::uint32_t boxSize = head.bigEndian32(0);
    const std::size_t end = std::min<std::size_t>(head.size(), boxSize >= 16 ? boxSize : 16);
    bool heif = false, avif = false, clip = false, sound = false, raw = false;
    for (std::size_t offset = 8; offset + 4 <= end; offset += 4) {
        if (offset == 12)
            continue; // the minor version, not a brand
        if (head.has(offset, "avif") || head.has(offset, "avis"))
            avif = true;
        else if (head.has(offset, "heic") || head.has(offset, "heix") || head.has(offset, "hevc")
            || head.has(offset, "hevx") || head.has(offset, "heim") || head.has(offset, "heis")
            || head.has(offset, "mif1") || head.has(offset, "msf1"))
            heif = true;
        else if (head.has(offset, "crx "))
            raw = true;
        else if (head.has(offset, "M4A ") || head.has(offset, "M4B ") || head.has(offset, "M4P "))
            sound = offset == 8 || sound;
        else if (head.has(offset, "isom") || head.has(offset, "iso2") || head.has(offset, "mp41")
            || head.has(offset, "mp42") || head.has(offset, "avc1") || head.has(offset, "M4V ")
            || head.has(offset, "qt  ") || head.has(offset, "3gp") || head.has(offset, "3g2")
            || head.has(offset, "dash") || head.has(offset, "mmp4") || head.has(offset, "MSNV"))
            clip = true;
    }
    if (raw)
        return { MediaClass::Picture, MediaFormat::CameraRaw };
    if (avif)
        return { MediaClass::Picture, MediaFormat::Avif };
    if (heif)
        return { MediaClass::Picture, MediaFormat::Heif };
    if (sound)
        return { MediaClass::Sound, MediaFormat::M4a };
    if (clip)
        return { MediaClass::Clip, MediaFormat::QuickTime };
    return {};
}

bool isTiffStart(const Head &head)
{
    return head.hasBytes(0, { 'I', 'I', 42, 0 }) || head.hasBytes(0, { 'M', 'M', 0, 42 });
}

Decision byContent(const Head &head, const QString &extension)
{
    if (head.hasBytes(0, { 0xFF, 0xD8, 0xFF }))
        return { MediaClass::Picture, MediaFormat::Jpeg };
    if (head.hasBytes(0, { 0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A }))
        return { MediaClass::Picture, MediaFormat::Png };
    if (head.has(0, "GIF87a") || head.has(0, "GIF89a"))
        return { MediaClass::Picture, MediaFormat::Gif };
    if (head.has(0, "RIFF")) {
        if (head.has(8, "WEBP"))
            return { MediaClass::Picture, MediaFormat::WebP };
        if (head.has(8, "AVI "))
            return { MediaClass::Clip, MediaFormat::Avi };
        if (head.has(8, "WAVE"))
            return { MediaClass::Sound, MediaFormat::Wave };
    }
    if (head.hasBytes(0, { 0xFF, 0x0A })
        || head.hasBytes(0, { 0, 0, 0, 0x0C, 'J', 'X', 'L', ' ', 0x0D, 0x0A, 0x87, 0x0A }))
        return { MediaClass::Picture, MediaFormat::JpegXl };
    if (head.has(4, "ftyp")) {
        const Decision iso = isoBaseMediaType(head);
        if (iso.kind != MediaClass::Other)
            return iso;
    }
    // RAW files that announce themselves; the TIFF-like rest is known by name only.
    if (head.has(0, "FUJIFILMCCD-RAW") || head.has(0, "IIRO") || head.has(0, "MMOR")
        || head.hasBytes(0, { 'I', 'I', 'U', 0 }) || (isTiffStart(head) && head.has(8, "CR")))
        return { MediaClass::Picture, MediaFormat::CameraRaw };
    if (isTiffStart(head)) {
        if (isRawExtension(extension))
            return { MediaClass::Picture, MediaFormat::CameraRaw };
        return { MediaClass::Picture, MediaFormat::Tiff };
    }
    if (head.has(0, "BM") && head.size() >= 26 && head.at(14) >= 12 && head.at(15) == 0)
        return { MediaClass::Picture, MediaFormat::Bmp };
    if (head.hasBytes(0, { 0x1A, 0x45, 0xDF, 0xA3 }))
        return { MediaClass::Clip, MediaFormat::Matroska };
    if (head.hasBytes(0, { 0, 0, 1, 0xBA }))
        return { MediaClass::Clip, MediaFormat::Mpeg };
    if (head.at(0) == 0x47 && head.at(188) == 0x47)
        return { MediaClass::Clip, MediaFormat::MpegTransport };
    if (head.at(4) == 0x47 && head.at(196) == 0x47)
        return { MediaClass::Clip, MediaFormat::MpegTransport }; // M2TS: 4-byte time codes
    if (head.has(0, "OggS"))
        return { MediaClass::Sound, MediaFormat::Ogg };
    if (head.has(0, "fLaC"))
        return { MediaClass::Sound, MediaFormat::Flac };
    if (head.has(0, "ID3") || (head.at(0) == 0xFF && (head.at(1) & 0xE0) == 0xE0))
        return { MediaClass::Sound, MediaFormat::Mp3 };
    // A RAW name whose content nothing above knows (older makers' own layouts): LibRaw decides.
    if (isRawExtension(extension) && head.size() > 0)
        return { MediaClass::Picture, MediaFormat::CameraRaw };
    return {};
}

} // namespace

MediaFile identifyMediaBytes(const QString &path, std::span<const unsigned char> head)
{
    MediaFile file;
    file.path = path;
    const QString extension = upperExtension(path);
    for (const ExtensionRule &rule : kAlbumExtensions) {
        if (extension == QLatin1String(rule.extension)) {
            file.kind = rule.kind;
            file.format = rule.format;
            file.byExtension = true;
            return file;
        }
    }
    const std::size_t length = std::min<std::size_t>(head.size(), kMediaHeadBytes);
    const Decision decision = byContent(Head(head.first(length)), extension);
    file.kind = decision.kind;
    file.format = decision.format;
    return file;
}

MediaFile identifyMediaFile(const QString &path)
{
    const MediaFile byName = identifyMediaBytes(path, {});
    if (byName.byExtension)
        return byName;
    std::array<unsigned char, kMediaHeadBytes> buffer {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return byName;
    const qint64 got = file.read(reinterpret_cast<char *>(buffer.data()), kMediaHeadBytes);
    return identifyMediaBytes(
        path, std::span(buffer.data(), std::size_t(std::max<qint64>(got, 0))));
}

QString mediaFormatName(MediaFormat format)
{
    switch (format) {
    case MediaFormat::Unknown:
        return QStringLiteral("unknown");
    case MediaFormat::Bmp:
        return QStringLiteral("BMP");
    case MediaFormat::Tiff:
        return QStringLiteral("TIFF");
    case MediaFormat::Pcx:
        return QStringLiteral("PCX");
    case MediaFormat::Targa:
        return QStringLiteral("Targa");
    case MediaFormat::Jpeg:
        return QStringLiteral("JPEG");
    case MediaFormat::PhotoCd:
        return QStringLiteral("Photo CD");
    case MediaFormat::FlashPix:
        return QStringLiteral("FlashPix");
    case MediaFormat::Qsf:
        return QStringLiteral("QSF");
    case MediaFormat::Png:
        return QStringLiteral("PNG");
    case MediaFormat::Gif:
        return QStringLiteral("GIF");
    case MediaFormat::WebP:
        return QStringLiteral("WebP");
    case MediaFormat::Heif:
        return QStringLiteral("HEIF");
    case MediaFormat::Avif:
        return QStringLiteral("AVIF");
    case MediaFormat::JpegXl:
        return QStringLiteral("JPEG XL");
    case MediaFormat::CameraRaw:
        return QStringLiteral("camera RAW");
    case MediaFormat::Avi:
        return QStringLiteral("AVI");
    case MediaFormat::Mpeg:
        return QStringLiteral("MPEG");
    case MediaFormat::QuickTime:
        return QStringLiteral("MP4/MOV");
    case MediaFormat::Matroska:
        return QStringLiteral("Matroska/WebM");
    case MediaFormat::MpegTransport:
        return QStringLiteral("MPEG-TS");
    case MediaFormat::Wave:
        return QStringLiteral("WAVE");
    case MediaFormat::Mp3:
        return QStringLiteral("MP3");
    case MediaFormat::Ogg:
        return QStringLiteral("Ogg");
    case MediaFormat::Flac:
        return QStringLiteral("FLAC");
    case MediaFormat::M4a:
        return QStringLiteral("M4A");
    }
    return QStringLiteral("unknown");
}

bool browserShowsPicture(MediaFormat format)
{
    return format == MediaFormat::Jpeg || format == MediaFormat::Png || format == MediaFormat::Gif
        || format == MediaFormat::WebP;
}

} // namespace glimmerix
