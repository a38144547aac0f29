#include "imaging/mediafile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace glimmerix;
using namespace std::string_literals;

namespace
{

std::vector<unsigned char> bytes(std::string text, std::size_t padTo = 0)
{
    if (text.size() < padTo)
        text.resize(padTo, '\0');
    return { text.begin(), text.end() };
}

// An ISO base media file's first box: size, "ftyp", major brand, minor version, brands.
std::vector<unsigned char> ftyp(const std::string &major, const std::string &compatible)
{
    const std::size_t size = 16 + compatible.size();
    std::string box = { '\0', '\0', '\0', char(size) };
    box += "ftyp" + major + std::string(4, '\0') + compatible;
    return bytes(box, 64);
}

std::vector<unsigned char> transportStream(std::size_t prefix)
{
    std::vector<unsigned char> head(400, 0);
    head[prefix] = 0x47;
    head[prefix + 188 + (prefix ? 4 : 0)] = 0x47;
    return head;
}

struct IdentifyCase {
    const char *name;
    const char *path;
    std::vector<unsigned char> head;
    MediaClass kind;
    MediaFormat format;
    bool byExtension;
};

const std::string kJpeg = "\xFF\xD8\xFF\xE0";
const std::string kPng = "\x89PNG\r\n\x1A\n";
const std::string kTiff = std::string("II*\0", 4) + std::string("\x08\0\0\0", 4);

TEST(MediaFile, DecidesByAlbumExtensionThenByContent)
{
    using C = MediaClass;
    using F = MediaFormat;
    const IdentifyCase cases[] = {
        // The album's own names decide whatever the content.
        { "jpg name", "/p/a.JPG", bytes(kPng), C::Picture, F::Jpeg, true },
        { "tif name lower case", "/p/a.tif", {}, C::Picture, F::Tiff, true },
        { "photo cd", "/p/a.pcd", {}, C::Picture, F::PhotoCd, true },
        { "mov name", "/v/a.MOV", {}, C::Clip, F::QuickTime, true },
        { "mpeg name", "/v/a.mpeg", {}, C::Clip, F::Mpeg, true },
        { "wave name", "/s/a.wav", {}, C::Sound, F::Wave, true },
        { "mp3 name", "/s/a.mp3", {}, C::Sound, F::Mp3, true },
        // Everything else by content.
        { "jpeg named .jpeg", "/p/a.jpeg", bytes(kJpeg), C::Picture, F::Jpeg, false },
        { "jpeg named .HEIC", "/p/IMG.HEIC", bytes(kJpeg), C::Picture, F::Jpeg, false },
        { "png without extension", "/p/screenshot", bytes(kPng), C::Picture, F::Png, false },
        { "gif", "/p/a.gif", bytes("GIF89a"), C::Picture, F::Gif, false },
        { "webp", "/p/a.webp", bytes("RIFF\x10\0\0\0WEBPVP8 "s), C::Picture, F::WebP, false },
        { "heic", "/p/a.heic", ftyp("heic", "mif1heicmiaf"), C::Picture, F::Heif, false },
        { "heif by mif1 only", "/p/a.heif", ftyp("mif1", "mif1"), C::Picture, F::Heif, false },
        { "avif", "/p/a.avif", ftyp("avif", "mif1avifmiaf"), C::Picture, F::Avif, false },
        { "avif under mif1", "/p/a.avif", ftyp("mif1", "avifmif1"), C::Picture, F::Avif, false },
        { "canon cr3", "/p/a.CR3", ftyp("crx ", "crx isom"), C::Picture, F::CameraRaw, false },
        { "mp4", "/v/a.mp4", ftyp("isom", "isomiso2avc1mp41"), C::Clip, F::QuickTime, false },
        { "3gp", "/v/a.3gp", ftyp("3gp4", "isom3gp4"), C::Clip, F::QuickTime, false },
        { "m4a", "/s/a.m4a", ftyp("M4A ", "M4A mp42isom"), C::Sound, F::M4a, false },
        { "unknown brand", "/v/a.mp4", ftyp("zzzz", "zzzz"), C::Other, F::Unknown, false },
        { "jpeg xl codestream", "/p/a.jxl", bytes("\xFF\x0A"), C::Picture, F::JpegXl, false },
        { "tiff named .tiff", "/p/a.tiff", bytes(kTiff), C::Picture, F::Tiff, false },
        { "nef is tiff inside", "/p/DSC.NEF", bytes(kTiff), C::Picture, F::CameraRaw, false },
        { "dng", "/p/a.dng", bytes(kTiff), C::Picture, F::CameraRaw, false },
        { "cr2 signature", "/p/x", bytes(kTiff + "CR\x02"), C::Picture, F::CameraRaw, false },
        { "orf", "/p/a.orf", bytes("IIRO\x08\0\0\0"), C::Picture, F::CameraRaw, false },
        { "rw2", "/p/a.rw2", bytes(std::string("IIU\0", 4)), C::Picture, F::CameraRaw, false },
        { "raf", "/p/a.raf", bytes("FUJIFILMCCD-RAW 0201"), C::Picture, F::CameraRaw, false },
        { "raw name, odd content", "/p/a.mrw", bytes(std::string("\0MRM", 4)), C::Picture,
            F::CameraRaw, false },
        { "raw name, empty file", "/p/a.nef", {}, C::Other, F::Unknown, false },
        { "bmp without its name", "/p/a.dib", bytes("BM\x36\0\0\0\0\0\0\0\x36\0\0\0\x28\0"s, 30),
            C::Picture, F::Bmp, false },
        { "matroska", "/v/a.webm", bytes("\x1A\x45\xDF\xA3"), C::Clip, F::Matroska, false },
        { "program stream", "/v/a.vob", bytes(std::string("\0\0\1\xBA", 4)), C::Clip, F::Mpeg,
            false },
        { "transport stream", "/v/a.mts", transportStream(0), C::Clip, F::MpegTransport, false },
        { "m2ts", "/v/a.m2ts", transportStream(4), C::Clip, F::MpegTransport, false },
        { "avi by content", "/v/a.divx", bytes("RIFF\0\0\0\0AVI LIST"s), C::Clip, F::Avi, false },
        { "wave by content", "/s/a.wave", bytes("RIFF\0\0\0\0WAVEfmt "s), C::Sound, F::Wave,
            false },
        { "ogg", "/s/a.opus", bytes("OggS"), C::Sound, F::Ogg, false },
        { "flac", "/s/a.flac", bytes("fLaC"), C::Sound, F::Flac, false },
        { "mp3 with tag", "/s/a.mpga", bytes("ID3\x04"), C::Sound, F::Mp3, false },
        { "mp3 frame", "/s/a.mpga", bytes("\xFF\xFB\x90"), C::Sound, F::Mp3, false },
        { "text", "/d/notes.txt", bytes("hello"), C::Other, F::Unknown, false },
        { "empty", "/d/empty.heic", {}, C::Other, F::Unknown, false },
        { "truncated ftyp", "/d/a.mp4",
            bytes("\0\0\0\x18"
                  "ftyp"s),
            C::Other, F::Unknown, false },
    };
    for (const IdentifyCase &c : cases) {
        const MediaFile file = identifyMediaBytes(QString::fromLatin1(c.path), c.head);
        EXPECT_EQ(file.kind, c.kind) << c.name;
        EXPECT_EQ(file.format, c.format) << c.name;
        EXPECT_EQ(file.byExtension, c.byExtension) << c.name;
        EXPECT_EQ(file.isAlbumPictureType(), c.byExtension && c.kind == C::Picture) << c.name;
    }
}

TEST(MediaFile, ReadsTheHeadOfARealFileAndNothingOfAnUnreadableOne)
{
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("shot"));
    QFile file(png);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kPng.data(), qint64(kPng.size()));
    file.close();
    EXPECT_EQ(identifyMediaFile(png).format, MediaFormat::Png);
    EXPECT_EQ(
        identifyMediaFile(dir.filePath(QStringLiteral("missing.heic"))).kind, MediaClass::Other);
    // The album's names decide without opening the file at all.
    EXPECT_EQ(
        identifyMediaFile(dir.filePath(QStringLiteral("missing.JPG"))).format, MediaFormat::Jpeg);
    EXPECT_EQ(identifyMediaFile(dir.path()).kind, MediaClass::Other);
}

} // namespace
