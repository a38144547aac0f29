// Today's still picture types as album items: each file is made on the fly by an outside encoder,
// and the item's thumbnail is compared with the outside decoder's picture of the same file,
// scaled by the thumbnail's own nearest-neighbour rule.

#include "albumtesthelpers.h"

#include "album/albumformat.h"
#include "album/importer.h"
#include "imaging/dib.h"
#include "imaging/mediafile.h"
#include "platform/paths.h"
#include "support/processrun.h"
#include "support/testenvironment.h"

#include <QFileInfo>

#include <QElapsedTimer>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <libheif/heif.h>

#include <sys/resource.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{

// The pictures every file is made from: 301 x 203 with smooth shading and hard edges, in 8 and 16
// bits, and with an alpha ramp.
constexpr int kWidth = 301;
constexpr int kHeight = 203;

struct Command {
    const char *program;
    QStringList args; // {src}, {src16}, {srca}, {file} and {ref} are replaced
};

struct StillCase {
    const char *name;
    const char *fileName;
    MediaFormat format;
    std::vector<Command> make; // makes {file}
    // The outside decoder: writes {ref} (any type ImageMagick reads). None: ImageMagick reads
    // the file itself.
    std::vector<Command> decode;
    double tolerance; // mean absolute difference per sample, 0-255
    // The thumbnail comes from the picture the file carries, not from the full decode the
    // reference is: it must differ a little, or the faster way was not taken.
    bool embedded = false;
};

void PrintTo(const StillCase &still, std::ostream *out)
{
    *out << still.name;
}

QString missingTool(const std::vector<Command> &commands)
{
    for (const Command &command : commands) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(command.program)).isEmpty())
            return QString::fromLatin1(command.program);
    }
    return {};
}

QString run(const Command &command, const QHash<QString, QString> &names)
{
    QStringList args;
    for (QString arg : command.args) {
        for (auto it = names.begin(); it != names.end(); ++it)
            arg.replace(it.key(), it.value());
        args << arg;
    }
    const ProcessRun done = runProgram(QString::fromLatin1(command.program), args);
    if (done.status != 0)
        return QStringLiteral("%1 %2 failed: %3")
            .arg(QString::fromLatin1(command.program), args.join(u' '), done.err);
    return {};
}

// A picture as top-down 8-bit RGB rows, read from a binary PPM.
struct Rgb {
    int width = 0;
    int height = 0;
    QByteArray pixels;
};

Rgb readPpm(const QString &path)
{
    const QByteArray bytes = fileBytes(path);
    Rgb picture;
    // "P6\nW H\n255\n" then the pixels; ImageMagick writes no comments.
    QList<QByteArray> fields;
    qsizetype at = 0;
    while (fields.size() < 4 && at < bytes.size()) {
        while (at < bytes.size() && std::isspace(static_cast<unsigned char>(bytes[at])))
            ++at;
        const qsizetype start = at;
        while (at < bytes.size() && !std::isspace(static_cast<unsigned char>(bytes[at])))
            ++at;
        fields << bytes.mid(start, at - start);
    }
    if (fields.size() < 4 || fields[0] != "P6" || fields[3] != "255")
        return picture;
    picture.width = fields[1].toInt();
    picture.height = fields[2].toInt();
    picture.pixels = bytes.mid(at + 1);
    if (picture.pixels.size() != qsizetype(3) * picture.width * picture.height)
        picture = {};
    return picture;
}

// The mean absolute difference between a thumbnail and the reference picture sampled the way
// makeThumbnail samples (rows counted from the bottom on both sides).
double meanDifference(BlockHandle thumbnail, const Rgb &reference)
{
    const auto *info = static_cast<const ItemInfo *>(blockLock(thumbnail));
    const int width = info->thumbWidth;
    const int height = info->thumbHeight;
    const unsigned char *pixels = thumbnailPixels(thumbnail);
    const std::size_t rowBytes = dibRowBytes(width, 24);
    double sum = 0;
    for (int y = 0; y < height; ++y) {
        const int sy = int(qint64(y) * reference.height / height);
        const int topRow = reference.height - 1 - sy;
        for (int x = 0; x < width; ++x) {
            const int sx = int(qint64(x) * reference.width / width);
            const auto *want = reinterpret_cast<const unsigned char *>(reference.pixels.constData())
                + 3 * (std::size_t(topRow) * std::size_t(reference.width) + std::size_t(sx));
            const unsigned char *got = pixels + std::size_t(y) * rowBytes + 3 * std::size_t(x);
            sum += std::abs(int(got[0]) - int(want[2])) + std::abs(int(got[1]) - int(want[1]))
                + std::abs(int(got[2]) - int(want[0]));
        }
    }
    return sum / (3.0 * width * height);
}

class StillPictures : public ::testing::TestWithParam<StillCase>
{
protected:
    // Makes the three source pictures; false (with the test skipped) without ImageMagick.
    bool makeSources()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("convert")).isEmpty())
            return false;
        const QString size = QStringLiteral("%1x%2").arg(kWidth).arg(kHeight);
        const QStringList drawing = { QStringLiteral("-fill"), QStringLiteral("yellow"),
            QStringLiteral("-draw"), QStringLiteral("circle 60,50 60,10"), QStringLiteral("-fill"),
            QStringLiteral("green"), QStringLiteral("-draw"),
            QStringLiteral("rectangle 100,70 160,110") };
        const QString gradient = QStringLiteral("gradient:red-blue");
        EXPECT_EQ(
            runProgram(QStringLiteral("convert"),
                QStringList { QStringLiteral("-size"), size, gradient } + drawing
                    + QStringList { QStringLiteral("PNG24:") + m_names[QStringLiteral("{src}")] })
                .status,
            0);
        EXPECT_EQ(
            runProgram(QStringLiteral("convert"),
                QStringList { QStringLiteral("-size"), size, QStringLiteral("-depth"),
                    QStringLiteral("16"), gradient }
                    + drawing
                    + QStringList { QStringLiteral("PNG48:") + m_names[QStringLiteral("{src16}")] })
                .status,
            0);
        // An alpha ramp from opaque at the top to clear at the bottom.
        EXPECT_EQ(
            runProgram(QStringLiteral("convert"),
                { m_names[QStringLiteral("{src}")], QStringLiteral("("), QStringLiteral("-size"),
                    size, QStringLiteral("gradient:white-black"), QStringLiteral(")"),
                    QStringLiteral("-alpha"), QStringLiteral("off"), QStringLiteral("-compose"),
                    QStringLiteral("CopyOpacity"), QStringLiteral("-composite"),
                    QStringLiteral("PNG32:") + m_names[QStringLiteral("{srca}")] })
                .status,
            0);
        return true;
    }

    QString m_folder = makeTestFolder(QStringLiteral("stills"));
    QHash<QString, QString> m_names = {
        { QStringLiteral("{src}"), m_folder + QStringLiteral("/src.png") },
        { QStringLiteral("{src16}"), m_folder + QStringLiteral("/src16.png") },
        { QStringLiteral("{srca}"), m_folder + QStringLiteral("/srca.png") },
        { QStringLiteral("{ref}"), m_folder + QStringLiteral("/ref.png") },
    };
};

TEST_P(StillPictures, ThumbnailMatchesTheOutsideDecoderAndTheRecordHasTheUprightSize)
{
    const StillCase &still = GetParam();
    if (!makeSources())
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    QString missing = missingTool(still.make);
    if (missing.isEmpty())
        missing = missingTool(still.decode);
    if (!missing.isEmpty())
        GTEST_SKIP() << missing.toStdString() << " is not installed (tools/setup.sh installs it)";
    const QString file = m_folder + u'/' + QLatin1String(still.fileName);
    m_names.insert(QStringLiteral("{file}"), file);
    for (const Command &command : still.make)
        ASSERT_EQ(run(command, m_names), QString());
    for (const Command &command : still.decode)
        ASSERT_EQ(run(command, m_names), QString());
    // The reference flattened on white and brought to 8 bits the way ImageMagick does it.
    const QString ppm = m_folder + QStringLiteral("/ref.ppm");
    const QString decoded = still.decode.empty() ? file : m_names[QStringLiteral("{ref}")];
    ASSERT_EQ(runProgram(QStringLiteral("convert"),
                  { decoded + QStringLiteral("[0]"), QStringLiteral("-background"),
                      QStringLiteral("white"), QStringLiteral("-alpha"), QStringLiteral("remove"),
                      QStringLiteral("-depth"), QStringLiteral("8"), QStringLiteral("ppm:") + ppm })
                  .status,
        0);
    const Rgb reference = readPpm(ppm);
    ASSERT_EQ(reference.width, kWidth);
    ASSERT_EQ(reference.height, kHeight);

    EXPECT_EQ(identifyMediaFile(file).format, still.format);
    QString problem;
    const OwnedBlock thumbnail(thumbnailForFile(file, &problem));
    ASSERT_TRUE(thumbnail) << problem.toStdString();
    EXPECT_TRUE(problem.isEmpty()) << problem.toStdString();
    const auto *info = static_cast<const ItemInfo *>(blockLock(thumbnail.handle()));
    EXPECT_EQ(info->isMedia, 0);
    EXPECT_EQ(info->sourceWidth, kWidth);
    EXPECT_EQ(info->sourceHeight, kHeight);
    EXPECT_EQ(info->sourceBitDepth, 24);
    const ThumbnailSize size = thumbnailSize(kWidth, kHeight);
    EXPECT_EQ(info->thumbWidth, size.width);
    EXPECT_EQ(info->thumbHeight, size.height);
    const double difference = meanDifference(thumbnail.handle(), reference);
    EXPECT_LE(difference, still.tolerance);
    if (still.embedded) {
        EXPECT_GT(difference, 0.5);
    }
}

const QString kSrc = QStringLiteral("{src}");
const QString kFile = QStringLiteral("{file}");
const QString kRef = QStringLiteral("{ref}");

Command heifEnc(QStringList options, const QString &source = kSrc)
{
    return { "heif-enc",
        options << QStringLiteral("-q") << QStringLiteral("90") << source << QStringLiteral("-o")
                << kFile };
}
Command imageMagick(const QStringList &args)
{
    return { "convert", args };
}
const Command kHeifConvert { "heif-convert", { kFile, kRef } };
const Command kDwebp { "dwebp", { QStringLiteral("-quiet"), kFile, QStringLiteral("-o"), kRef } };

// Tolerances: the same library decodes both sides for HEIF, AVIF, WebP, PNG, GIF and JPEG XL,
// and both JPEG decoders are libjpeg's, so only the bit-depth and alpha arithmetic may differ (a
// level here and there; measured 0 to 0.6, 1.0 allowed). A HEIC with a large enough embedded
// thumbnail is shown from that thumbnail, which the encoder scaled down on its own (measured
// 2.0, 4.0 allowed).
const StillCase kStillCases[] = {
    { "heic", "photo.heic", MediaFormat::Heif, { heifEnc({}) }, { kHeifConvert }, 1.0 },
    { "heic_thumbnail_used", "thumb.heic", MediaFormat::Heif,
        { heifEnc({ QStringLiteral("--thumb"), QStringLiteral("200") }) }, { kHeifConvert }, 4.0,
        true },
    { "heic_thumbnail_too_small", "small.heic", MediaFormat::Heif,
        { heifEnc({ QStringLiteral("--thumb"), QStringLiteral("120") }) }, { kHeifConvert }, 1.0 },
    { "heic_10bit", "deep.heic", MediaFormat::Heif,
        { heifEnc({ QStringLiteral("-b"), QStringLiteral("10") }, QStringLiteral("{src16}")) },
        { kHeifConvert }, 1.0 },
    { "avif", "photo.avif", MediaFormat::Avif,
        { heifEnc({ QStringLiteral("-A"), QStringLiteral("-p"), QStringLiteral("chroma=420") }) },
        { kHeifConvert }, 1.0 },
    { "webp_lossy", "photo.webp", MediaFormat::WebP,
        { { "cwebp", { QStringLiteral("-quiet"), kSrc, QStringLiteral("-o"), kFile } } },
        { kDwebp }, 1.0 },
    { "webp_lossless_alpha", "sticker.webp", MediaFormat::WebP,
        { { "cwebp",
            { QStringLiteral("-quiet"), QStringLiteral("-lossless"), QStringLiteral("{srca}"),
                QStringLiteral("-o"), kFile } } },
        { kDwebp }, 1.0 },
    { "png_8bit", "screen.png", MediaFormat::Png,
        { imageMagick({ kSrc, QStringLiteral("PNG24:") + kFile }) }, {}, 1.0 },
    { "png_16bit", "deep.png", MediaFormat::Png,
        { imageMagick({ QStringLiteral("{src16}"), QStringLiteral("PNG48:") + kFile }) }, {}, 1.0 },
    { "png_palette", "palette.png", MediaFormat::Png,
        { imageMagick({ kSrc, QStringLiteral("-colors"), QStringLiteral("50"),
            QStringLiteral("PNG8:") + kFile }) },
        {}, 1.0 },
    { "png_grey_16bit", "grey.png", MediaFormat::Png,
        { imageMagick({ QStringLiteral("{src16}"), QStringLiteral("-colorspace"),
            QStringLiteral("Gray"), QStringLiteral("-depth"), QStringLiteral("16"), kFile }) },
        {}, 1.0 },
    { "png_alpha", "alpha.png", MediaFormat::Png,
        { imageMagick({ QStringLiteral("{srca}"), QStringLiteral("PNG32:") + kFile }) }, {}, 1.0 },
    { "gif", "anim.gif", MediaFormat::Gif,
        { imageMagick({ kSrc, QStringLiteral("-colors"), QStringLiteral("64"), kFile }) }, {},
        1.0 },
    { "jpeg_xl", "photo.jxl", MediaFormat::JpegXl,
        { { "cjxl", { QStringLiteral("--quiet"), kSrc, kFile } } },
        { { "djxl", { kFile, kRef, QStringLiteral("--quiet") } } }, 1.0 },
    { "jpeg_named_jpeg", "photo.jpeg", MediaFormat::Jpeg,
        { imageMagick({ kSrc, QStringLiteral("-quality"), QStringLiteral("92"), kFile }) }, {},
        1.0 },
    { "jpeg_named_jfif", "photo.jfif", MediaFormat::Jpeg,
        { imageMagick({ kSrc, QStringLiteral("-quality"), QStringLiteral("92"),
            QStringLiteral("JPEG:") + kFile }) },
        {}, 1.0 },
};

INSTANTIATE_TEST_SUITE_P(Types, StillPictures, ::testing::ValuesIn(kStillCases),
    [](const ::testing::TestParamInfo<StillCase> &param) { return std::string(param.param.name); });

// Writes `source` as a HEIC whose primary image carries a rotation: heif-enc of Debian 12 cannot
// set one, so libheif's own encoder writes it (with orientation 6, turned 90 degrees clockwise
// for showing, the transform properties "irot" and "imir" the reader must apply).
bool writeRotatedHeic(const QString &source, const QString &target)
{
    const QImage picture = QImage(source).convertToFormat(QImage::Format_RGB888);
    if (picture.isNull())
        return false;
    heif_context *context = heif_context_alloc();
    heif_encoder *encoder = nullptr;
    heif_image *image = nullptr;
    heif_encoding_options *options = heif_encoding_options_alloc();
    bool written
        = heif_context_get_encoder_for_format(context, heif_compression_HEVC, &encoder).code
            == heif_error_Ok
        && heif_image_create(picture.width(), picture.height(), heif_colorspace_RGB,
               heif_chroma_interleaved_RGB, &image)
                .code
            == heif_error_Ok
        && heif_image_add_plane(
               image, heif_channel_interleaved, picture.width(), picture.height(), 8)
                .code
            == heif_error_Ok;
    if (written) {
        int stride = 0;
        std::uint8_t *plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
        for (int row = 0; row < picture.height(); ++row)
            std::memcpy(plane + std::size_t(row) * std::size_t(stride), picture.constScanLine(row),
                std::size_t(picture.width()) * 3);
        heif_encoder_set_lossy_quality(encoder, 90);
        options->image_orientation = heif_orientation_rotate_90_cw;
        written = heif_context_encode_image(context, image, encoder, options, nullptr).code
                == heif_error_Ok
            && heif_context_write_to_file(context, target.toLocal8Bit().constData()).code
                == heif_error_Ok;
    }
    heif_encoding_options_free(options);
    if (image)
        heif_image_release(image);
    if (encoder)
        heif_encoder_release(encoder);
    heif_context_free(context);
    return written;
}

TEST_F(StillPictures, ARotatedHeicGivesAnUprightThumbnailAndSize)
{
    if (!makeSources())
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    if (QStandardPaths::findExecutable(QStringLiteral("heif-convert")).isEmpty())
        GTEST_SKIP() << "heif-convert is not installed (tools/setup.sh installs it)";
    const QString file = m_folder + QStringLiteral("/rotated.heic");
    ASSERT_TRUE(writeRotatedHeic(m_names[QStringLiteral("{src}")], file));
    const QString ppm = m_folder + QStringLiteral("/rotated.ppm");
    const QString decoded = m_folder + QStringLiteral("/rotated.png");
    ASSERT_EQ(runProgram(QStringLiteral("heif-convert"), { file, decoded }).status, 0);
    ASSERT_EQ(
        runProgram(QStringLiteral("convert"), { decoded, QStringLiteral("ppm:") + ppm }).status, 0);
    const Rgb reference = readPpm(ppm);
    ASSERT_EQ(reference.width, kHeight);
    ASSERT_EQ(reference.height, kWidth);
    QString problem;
    const OwnedBlock thumbnail(thumbnailForFile(file, &problem));
    ASSERT_TRUE(thumbnail) << problem.toStdString();
    const auto *info = static_cast<const ItemInfo *>(blockLock(thumbnail.handle()));
    EXPECT_EQ(info->sourceWidth, kHeight);
    EXPECT_EQ(info->sourceHeight, kWidth);
    EXPECT_LT(info->thumbWidth, info->thumbHeight);
    EXPECT_LE(meanDifference(thumbnail.handle(), reference), 1.0);
}

TEST(StillPictureImport, AFolderGivesPicturesByContentAndAddNamesIconOnlyItems)
{
    const QString folder = makeTestFolder(QStringLiteral("mixed"));
    QImage picture(64, 48, QImage::Format_RGB888);
    picture.fill(qRgb(200, 120, 40));
    ASSERT_TRUE(picture.save(folder + QStringLiteral("/screenshot"), "PNG")); // no extension
    ASSERT_TRUE(picture.save(folder + QStringLiteral("/photo.jpeg"), "JPEG"));
    ASSERT_TRUE(picture.save(folder + QStringLiteral("/photo.jfif"), "JPEG"));
    writeFile(folder + QStringLiteral("/notes.txt"), "not a picture\n");
    writeFile(folder + QStringLiteral("/voice.WAV"), "RIFF....WAVEfmt ");
    writeFile(folder + QStringLiteral("/song.ogg"), "OggS");
    const bool clip = !QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty()
        && runProgram(QStringLiteral("ffmpeg"),
               { QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-f"),
                   QStringLiteral("lavfi"), QStringLiteral("-i"),
                   QStringLiteral("testsrc=size=64x48:rate=5:duration=0.4"),
                   folder + QStringLiteral("/phone.mp4") })
                .status
            == 0;
    const QStringList listed = mediaFilesInFolder(folder);
    QStringList names;
    for (const QString &path : listed)
        names << QFileInfo(path).fileName();
    // The text file is neither named nor made like media: a folder leaves it out.
    // Clips and sounds known by their content are media too.
    QStringList expected = { QStringLiteral("photo.jfif"), QStringLiteral("photo.jpeg"),
        QStringLiteral("screenshot"), QStringLiteral("song.ogg"), QStringLiteral("voice.WAV") };
    if (clip)
        expected.insert(0, QStringLiteral("phone.mp4"));
    EXPECT_EQ(names, expected);

    const QString album = folder + QStringLiteral("/mixed.gmx");
    ASSERT_EQ(runCli({ QStringLiteral("album"), QStringLiteral("new"), album }).status, 0);
    const ProcessRun added = runCli({ QStringLiteral("album"), QStringLiteral("add"), album, folder,
        folder + QStringLiteral("/notes.txt") });
    EXPECT_EQ(added.status, 0) << added.err.toStdString();
    EXPECT_TRUE(added.out.contains(QStringLiteral("%1 added, 0 skipped").arg(clip ? 7 : 6)))
        << added.out.toStdString();
    EXPECT_TRUE(added.err.contains(QStringLiteral("song.ogg added as an icon only: a sound")))
        << added.err.toStdString();
    EXPECT_FALSE(added.err.contains(QLatin1String("phone.mp4"))) << added.err.toStdString();
    EXPECT_TRUE(added.err.contains(QStringLiteral("voice.WAV added as an icon only: a sound")))
        << added.err.toStdString();
    EXPECT_TRUE(added.err.contains(QStringLiteral(
        "notes.txt added as an icon only: not a picture, clip or sound the album reads")))
        << added.err.toStdString();
    EXPECT_FALSE(added.err.contains(QLatin1String("photo.jpeg"))) << added.err.toStdString();
    EXPECT_FALSE(added.err.contains(QLatin1String("screenshot"))) << added.err.toStdString();
}

// A PNG whose header claims `width` x `height` pixels, with a small compressed stream of zero
// rows behind it: a "bomb" that would inflate to far more than it is.
QByteArray claimingPng(quint32 width, quint32 height)
{
    const auto bigEndian = [](quint32 value) {
        QByteArray bytes(4, '\0');
        for (int i = 0; i < 4; ++i)
            bytes[i] = char(value >> (24 - 8 * i));
        return bytes;
    };
    const auto crc = [](const QByteArray &bytes) {
        quint32 value = 0xFFFFFFFFu;
        for (const char c : bytes) {
            value ^= quint8(c);
            for (int bit = 0; bit < 8; ++bit)
                value = (value >> 1) ^ (0xEDB88320u & (0u - (value & 1u)));
        }
        return ~value;
    };
    const auto chunk = [&](const char *type, const QByteArray &data) {
        const QByteArray typed = QByteArray(type) + data;
        return bigEndian(quint32(data.size())) + typed + bigEndian(crc(typed));
    };
    QByteArray header = bigEndian(width) + bigEndian(height);
    header += QByteArray("\x08\x02\x00\x00\x00", 5); // 8-bit RGB, not interlaced
    const QByteArray zeros = qCompress(QByteArray(4 << 20, '\0'), 9).mid(4); // the zlib stream
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IDAT", zeros)
        + chunk("IEND", {});
}

// The picture a HEIF file's first size property ("ispe") announces, replaced by a huge one.
QByteArray claimingHeif(QByteArray heif, quint32 width, quint32 height)
{
    const qsizetype at = heif.indexOf("ispe");
    if (at < 0)
        return {};
    for (int i = 0; i < 4; ++i) {
        heif[at + 8 + i] = char(width >> (24 - 8 * i));
        heif[at + 12 + i] = char(height >> (24 - 8 * i));
    }
    return heif;
}

long peakMemoryKilobytes()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST(StillPictureRefusals, DamagedAndHugeFilesAreRefusedQuicklyWithACauseAndNotAdded)
{
    for (const char *tool : { "convert", "heif-enc", "cwebp", "cjxl" }) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            GTEST_SKIP() << tool << " is not installed (tools/setup.sh installs it)";
    }
    const QString folder = makeTestFolder(QStringLiteral("refused"));
    const QString source = folder + QStringLiteral("/src.png");
    ASSERT_EQ(runProgram(QStringLiteral("convert"),
                  { QStringLiteral("-size"), QStringLiteral("640x480"),
                      QStringLiteral("plasma:red-blue"), source })
                  .status,
        0);
    const auto made = [&](const char *program, QStringList args, const QString &name) {
        const QString path = folder + u'/' + name;
        for (QString &arg : args)
            arg.replace(QStringLiteral("{src}"), source).replace(QStringLiteral("{file}"), path);
        EXPECT_EQ(runProgram(QString::fromLatin1(program), args).status, 0) << program;
        return fileBytes(path);
    };
    const QByteArray heic = made("heif-enc",
        { QStringLiteral("{src}"), QStringLiteral("-o"), QStringLiteral("{file}") },
        QStringLiteral("good.heic"));
    const QByteArray png = fileBytes(source);
    const QByteArray webp = made("cwebp",
        { QStringLiteral("-quiet"), QStringLiteral("{src}"), QStringLiteral("-o"),
            QStringLiteral("{file}") },
        QStringLiteral("good.webp"));
    const QByteArray jxl = made("cjxl",
        { QStringLiteral("--quiet"), QStringLiteral("{src}"), QStringLiteral("{file}") },
        QStringLiteral("good.jxl"));
    ASSERT_FALSE(heic.isEmpty() || png.isEmpty() || webp.isEmpty() || jxl.isEmpty());

    struct Refusal {
        const char *name;
        QByteArray bytes;
        const char *cause; // a part of the reason given
    };
    QByteArray scrambledJxl = jxl;
    for (qsizetype i = 32; i < scrambledJxl.size(); i += 7)
        scrambledJxl[i] = char(~scrambledJxl[i]);
    const Refusal refusals[] = {
        { "cut.heic", heic.left(heic.size() / 2), "HEIF" },
        { "cut.png", png.left(png.size() / 2), "file ends" },
        { "cut.webp", webp.left(webp.size() / 2), "WebP" },
        { "scrambled.jxl", scrambledJxl, "JPEG XL" },
        { "huge.heic", claimingHeif(heic, 65535, 65535), "larger than allowed" },
        { "bomb.png", claimingPng(100000, 100000), "claims 100000 x 100000" },
        { "signature-only.png", QByteArray("\x89PNG\r\n\x1a\n", 8), "file ends" },
    };
    for (const Refusal &refusal : refusals) {
        SCOPED_TRACE(refusal.name);
        const QString path = folder + u'/' + QLatin1String(refusal.name);
        writeFile(path, refusal.bytes);
        CAlbumDoc document;
        document.onNewDocument();
        QString problem;
        const long memoryBefore = peakMemoryKilobytes();
        QElapsedTimer timer;
        timer.start();
        EXPECT_NE(document.addFile(path, -1, &problem), 1);
        EXPECT_LT(timer.elapsed(), 500);
        EXPECT_LT(peakMemoryKilobytes() - memoryBefore, 100 * 1024);
        EXPECT_EQ(document.itemCount(), 0);
        EXPECT_TRUE(problem.contains(QLatin1String(refusal.cause))) << problem.toStdString();
    }
}

} // namespace
