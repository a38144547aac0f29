// The libtiff reader, used for the files the own reader hands on (CCITT Group 4 bilevel).

#include "picturestatus.h"
#include "tiffcodec.h"
#include "tiffpcxtargaio.h"

#include <QFile>

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

namespace glimmerix
{

namespace
{

constexpr std::int32_t kLibtiffPixelsPerMetre = 2834;

struct TiffCloser {
    void operator()(TIFF *tiff) const { TIFFClose(tiff); }
};

// libtiff reports problems on stderr by default. The reader keeps warnings quiet and notes
// errors: libtiff goes on decoding a damaged strip after reporting it, and such a picture is
// refused rather than shown half garbage. libtiff's handlers are global, so they are installed
// once and decide per thread: readers on several threads must not swap them under each other.
thread_local bool t_libtiffQuiet = false;
thread_local bool t_libtiffError = false;
TIFFErrorHandler g_previousError = nullptr;
TIFFErrorHandler g_previousWarning = nullptr;

void noteLibtiffError(const char *module, const char *format, va_list args)
{
    if (t_libtiffQuiet)
        t_libtiffError = true;
    else if (g_previousError)
        g_previousError(module, format, args);
}

void noteLibtiffWarning(const char *module, const char *format, va_list args)
{
    if (!t_libtiffQuiet && g_previousWarning)
        g_previousWarning(module, format, args);
}

class QuietLibtiff
{
public:
    QuietLibtiff()
    {
        static std::once_flag installed;
        std::call_once(installed, [] {
            g_previousError = TIFFSetErrorHandler(noteLibtiffError);
            g_previousWarning = TIFFSetWarningHandler(noteLibtiffWarning);
        });
        t_libtiffQuiet = true;
        t_libtiffError = false;
    }
    ~QuietLibtiff() { t_libtiffQuiet = false; }
    QuietLibtiff(const QuietLibtiff &) = delete;
    QuietLibtiff &operator=(const QuietLibtiff &) = delete;

    bool errorReported() const { return t_libtiffError; }
};

int roundedBitCount(int bits)
{
    if (bits <= 1)
        return 1;
    if (bits <= 4)
        return 4;
    if (bits <= 8)
        return 8;
    return 24;
}

} // namespace

DecodeResult readTiffWithLibtiff(const QString &path)
{
    QuietLibtiff quiet;
    std::unique_ptr<TIFF, TiffCloser> tiff(TIFFOpen(QFile::encodeName(path).constData(), "r"));
    if (!tiff)
        return pictureFailure(DecodeStatus::Failed, QStringLiteral("libtiff cannot open the file"));
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint16_t bitsPerSample = 1;
    std::uint16_t samplesPerPixel = 1;
    std::uint16_t photometric = PHOTOMETRIC_MINISWHITE;
    std::uint16_t planar = PLANARCONFIG_CONTIG;
    if (TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &width) != 1
        || TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &height) != 1)
        return pictureFailure(DecodeStatus::Failed, QStringLiteral("TIFF: no picture size"));
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_BITSPERSAMPLE, &bitsPerSample);
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_SAMPLESPERPIXEL, &samplesPerPixel);
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetField(tiff.get(), TIFFTAG_PHOTOMETRIC, &photometric);
    if (TIFFIsTiled(tiff.get()) || planar != PLANARCONFIG_CONTIG)
        return pictureFailure(
            DecodeStatus::Unsupported, QStringLiteral("TIFF: tiles or separate planes"));
    // The stored bits per pixel; only depths the picture block holds as they are are taken.
    const int storedBits = int(bitsPerSample) * int(samplesPerPixel);
    const int bitCount = roundedBitCount(storedBits);
    if (bitCount != storedBits)
        return pictureFailure(DecodeStatus::Unsupported,
            QStringLiteral("TIFF: %1 bits per pixel not supported").arg(storedBits));
    const tmsize_t scanline = TIFFScanlineSize(tiff.get());
    if (scanline <= 0)
        return pictureFailure(DecodeStatus::Failed, QStringLiteral("TIFF: empty rows"));

    int colours = 0;
    if (bitCount == 1)
        colours = 2;
    else if (bitCount <= 8)
        colours = 1 << bitCount;
    const PictureLayout layout = pictureLayout(width, height, bitCount, colours);
    if (!layout.valid)
        return layoutRefusal(width, height, bitCount);
    if (std::size_t(scanline) > layout.rowLength)
        return pictureFailure(
            DecodeStatus::Failed, QStringLiteral("TIFF: rows longer than the width"));
    DecodeResult made = newPictureBlock(width, height, bitCount, colours, kLibtiffPixelsPerMetre);
    if (made.status != DecodeStatus::Ok)
        return made;
    OwnedBlock block(made.block);
    BITMAPINFOHEADER *header = dibHeader(block.handle());
    RGBQUAD *table = dibColors(header);
    if (bitCount == 1) {
        const unsigned char zero = photometric == PHOTOMETRIC_MINISWHITE ? 255 : 0;
        table[0] = { zero, zero, zero, 0 };
        table[1]
            = { std::uint8_t(255 - zero), std::uint8_t(255 - zero), std::uint8_t(255 - zero), 0 };
    } else if (colours > 0) {
        std::uint16_t *red = nullptr;
        std::uint16_t *green = nullptr;
        std::uint16_t *blue = nullptr;
        if (photometric == PHOTOMETRIC_PALETTE
            && TIFFGetField(tiff.get(), TIFFTAG_COLORMAP, &red, &green, &blue) == 1) {
            // Old files store 8-bit values in the 16-bit map; scale only when a value needs it.
            bool sixteenBit = false;
            for (int i = 0; i < colours; ++i)
                sixteenBit = sixteenBit || red[i] > 255 || green[i] > 255 || blue[i] > 255;
            const int shift = sixteenBit ? 8 : 0;
            for (int i = 0; i < colours; ++i)
                table[i] = { std::uint8_t(blue[i] >> shift), std::uint8_t(green[i] >> shift),
                    std::uint8_t(red[i] >> shift), 0 };
        } else {
            const int step = 255 / (colours - 1);
            for (int i = 0; i < colours; ++i) {
                const auto grey = std::uint8_t(i * step);
                table[i] = { grey, grey, grey, 0 };
            }
        }
    }

    unsigned char *bits = dibBits(header);
    const tmsize_t stripSize = TIFFStripSize(tiff.get());
    if (stripSize <= 0 || std::uint64_t(stripSize) > kMaxPictureBytes)
        return pictureFailure(DecodeStatus::Failed, QStringLiteral("TIFF: bad strip size"));
    std::vector<unsigned char> strip(static_cast<std::size_t>(stripSize));
    const std::uint32_t strips = TIFFNumberOfStrips(tiff.get());
    std::uint32_t rowsDone = 0;
    for (std::uint32_t index = 0; index < strips && rowsDone < height; ++index) {
        const tmsize_t got = TIFFReadEncodedStrip(tiff.get(), index, strip.data(), stripSize);
        if (got < 0 || quiet.errorReported())
            return pictureFailure(DecodeStatus::Failed, QStringLiteral("TIFF: damaged strip"));
        const std::uint64_t stripRows = std::uint64_t(got) / std::uint64_t(scanline);
        for (std::uint64_t row = 0; row < stripRows && rowsDone < height; ++row, ++rowsDone) {
            if (rowsDone % 16 == 0) {
                if (codecEscapePressed())
                    return pictureFailure(DecodeStatus::Cancelled, cancelledDetail());
                codecProgress(int(std::uint64_t(rowsDone) * 100 / height));
            }
            const unsigned char *source = strip.data() + row * std::uint64_t(scanline);
            unsigned char *target = bits + std::size_t(height - 1 - rowsDone) * layout.rowLength;
            std::memcpy(target, source, std::size_t(scanline));
            if (bitCount == 24) {
                for (std::uint32_t x = 0; x < width; ++x)
                    std::swap(target[3 * x], target[3 * x + 2]);
            }
        }
    }
    codecProgress(100);
    return { DecodeStatus::Ok, block.release(), {} };
}

} // namespace glimmerix
