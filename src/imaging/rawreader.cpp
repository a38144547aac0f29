// Camera RAW through LibRaw (the thread-safe build, libraw_r): the camera's own preview for
// thumbnails, a demosaiced decode for the full picture.

#include "rawreader.h"

#include "dibblock.h"
#include "jpegcodec.h"
#include "picturestatus.h"
#include "platform/fillin.h"

#include <libraw/libraw.h>

#include <QFile>

#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

namespace glimmerix
{

namespace
{

// A file holds at least this many bytes for every 16 pixels its sensor claims (lossy DNG and the
// most compressed camera formats stay well above it). A header that claims more is damaged or
// hostile, and is refused before LibRaw reserves memory for a mosaic the file cannot fill.
constexpr std::int64_t kMinBytesPer16Pixels = 1;

// LibRaw reports damaged data through a callback that by default prints to the terminal; the
// first report is kept for the detail instead.
void noteDataError(void *data, const char *file, const int offset)
{
    (void)file;
    auto *note = static_cast<QString *>(data);
    if (!note->isEmpty())
        return;
    // LibRaw gives no offset when the file ended.
    *note = offset < 0 ? truncatedDetail()
                       : QStringLiteral("the RAW data is damaged near byte %1").arg(offset);
}

DecodeResult libRawFailure(int code, const QString &dataError)
{
    switch (code) {
    case LIBRAW_FILE_UNSUPPORTED:
        return pictureFailure(
            DecodeStatus::Unsupported, QStringLiteral("not a camera RAW file LibRaw can read"));
    case LIBRAW_UNSUFFICIENT_MEMORY:
        return pictureFailure(DecodeStatus::NoMemory, QStringLiteral("not enough memory"));
    case LIBRAW_TOO_BIG:
        return pictureFailure(
            DecodeStatus::TooLarge, QStringLiteral("the RAW picture is too large to decode"));
    case LIBRAW_IO_ERROR:
    case LIBRAW_DATA_ERROR:
        return pictureFailure(
            DecodeStatus::Unreadable, dataError.isEmpty() ? truncatedDetail() : dataError);
    default:
        return pictureFailure(DecodeStatus::Failed,
            QStringLiteral("camera RAW: %1").arg(QString::fromLocal8Bit(libraw_strerror(code))));
    }
}

// The pixel of `source` that lands at (row, col) of the upright picture, both counted from the
// top left, for LibRaw's orientation code: 4 swaps rows and columns, then 2 mirrors the rows and
// 1 the columns (3 is a half turn, 6 a quarter turn clockwise, 5 counter-clockwise).
struct FlipMap {
    int flip;
    std::int64_t width; // of the source
    std::int64_t height;
    std::pair<std::int64_t, std::int64_t> source(std::int64_t row, std::int64_t col) const
    {
        if (flip & 4)
            std::swap(row, col);
        if (flip & 2)
            row = height - 1 - row;
        if (flip & 1)
            col = width - 1 - col;
        return { row, col };
    }
};

// A new 24-bit block of the picture `block` (24-bit, or 8-bit through its colour table) turned
// upright by LibRaw's orientation code. The source block is left as it is.
DecodeResult uprightBlock(BlockHandle block, int flip)
{
    BITMAPINFOHEADER *source = checkedDibHeader(block);
    if (!source || (source->biBitCount != 24 && source->biBitCount != 8))
        return pictureFailure(DecodeStatus::Failed, QStringLiteral("the preview cannot be read"));
    const std::int64_t width = source->biWidth;
    const std::int64_t height = source->biHeight;
    const bool swapSides = (flip & 4) != 0;
    const std::int64_t outWidth = swapSides ? height : width;
    const std::int64_t outHeight = swapSides ? width : height;
    DecodeResult made = createImageBlock(std::int32_t(outWidth), std::int32_t(outHeight), 24, 0);
    if (made.status != DecodeStatus::Ok)
        return made;
    BITMAPINFOHEADER *target = dibHeader(made.block);
    const RGBQUAD *colors = dibColors(source);
    const std::uint32_t colorCount = dibColorCount(*source);
    const FlipMap map { flip & 7, width, height };
    for (std::int64_t row = 0; row < outHeight; ++row) {
        unsigned char *out = dibRow(target, outHeight - 1 - row);
        for (std::int64_t col = 0; col < outWidth; ++col, out += 3) {
            const auto [sourceRow, sourceCol] = map.source(row, col);
            const unsigned char *in = dibRow(source, height - 1 - sourceRow);
            if (source->biBitCount == 24) {
                std::memcpy(out, in + 3 * sourceCol, 3);
            } else if (in[sourceCol] < colorCount) {
                const RGBQUAD &c = colors[in[sourceCol]];
                out[0] = c.rgbBlue;
                out[1] = c.rgbGreen;
                out[2] = c.rgbRed;
            }
        }
    }
    return made;
}

// The camera's JPEG preview, decoded from memory by the album's JPEG reader.
DecodeResult jpegPreview(const libraw_thumbnail_t &thumb)
{
    std::FILE *file = fmemopen(thumb.thumb, thumb.tlength, "rb");
    if (!file)
        return pictureFailure(DecodeStatus::NoMemory, QStringLiteral("not enough memory"));
    DecodeResult read = readJpeg(file, false);
    std::fclose(file);
    if (read.status != DecodeStatus::Ok && isBlockHandle(read.block))
        blockFree(std::exchange(read.block, 0));
    return read;
}

// A preview stored as plain 8-bit RGB or grey rows, top first.
DecodeResult bitmapPreview(const libraw_thumbnail_t &thumb)
{
    const int colors = thumb.tcolors;
    const std::size_t pixels = std::size_t(thumb.twidth) * thumb.theight;
    if ((colors != 3 && colors != 1) || pixels == 0 || thumb.tlength < pixels * colors)
        return pictureFailure(DecodeStatus::Unsupported, QStringLiteral("unusual preview"));
    DecodeResult made = createImageBlock(thumb.twidth, thumb.theight, 24, 0);
    if (made.status != DecodeStatus::Ok)
        return made;
    BITMAPINFOHEADER *header = dibHeader(made.block);
    const auto *in = reinterpret_cast<const unsigned char *>(thumb.thumb);
    for (int row = 0; row < thumb.theight; ++row) {
        unsigned char *out = dibRow(header, thumb.theight - 1 - row);
        for (int col = 0; col < thumb.twidth; ++col, out += 3, in += colors) {
            out[0] = in[colors == 3 ? 2 : 0];
            out[1] = in[colors == 3 ? 1 : 0];
            out[2] = in[0];
        }
    }
    return made;
}

// LibRaw with a look at the kind of preview a file holds before it is unpacked.
class RawDecoder final : public LibRaw
{
public:
    enum class Preview { None, Jpeg, Rgb, Other };
    Preview preview()
    {
        if (!write_thumb)
            return Preview::None;
        if (write_thumb == &RawDecoder::jpeg_thumb)
            return Preview::Jpeg;
        if (write_thumb == &RawDecoder::ppm_thumb)
            return Preview::Rgb;
        return Preview::Other;
    }
};

// The preview turned upright when it is large enough for a thumbnail; otherwise not Ok, and the
// caller decodes the sensor data instead. Only JPEG and 8-bit RGB previews are unpacked: LibRaw
// 0.20 writes past its buffer when it unpacks the layered preview of a damaged file (the fuzz
// target found it), and 16-bit and layered previews belong to old cameras whose sensor data
// decodes quickly at half size.
DecodeResult previewPicture(RawDecoder &raw, std::int64_t fileSize)
{
    const libraw_thumbnail_t &claimed = raw.imgdata.thumbnail;
    switch (raw.preview()) {
    case RawDecoder::Preview::Jpeg:
        if (std::int64_t(claimed.tlength) > fileSize)
            return pictureFailure(DecodeStatus::Failed, truncatedDetail());
        break;
    case RawDecoder::Preview::Rgb:
        // Unpacked at its claimed size: check that first.
        if (!pictureSizeAllowed(claimed.twidth, claimed.theight, 24)
            || std::int64_t(claimed.twidth) * claimed.theight * 3 > fileSize)
            return pictureFailure(DecodeStatus::TooLarge, {});
        break;
    case RawDecoder::Preview::None:
    case RawDecoder::Preview::Other:
        return pictureFailure(DecodeStatus::Unsupported, {});
    }
    if (raw.unpack_thumb() != LIBRAW_SUCCESS)
        return pictureFailure(DecodeStatus::Failed, {});
    const libraw_thumbnail_t &thumb = raw.imgdata.thumbnail;
    DecodeResult read;
    if (thumb.tformat == LIBRAW_THUMBNAIL_JPEG)
        read = jpegPreview(thumb);
    else if (thumb.tformat == LIBRAW_THUMBNAIL_BITMAP)
        read = bitmapPreview(thumb);
    else
        return pictureFailure(DecodeStatus::Unsupported, {});
    if (read.status != DecodeStatus::Ok)
        return read;
    OwnedBlock preview(read.block);
    const BITMAPINFOHEADER *header = dibHeader(preview.handle());
    if (std::max(header->biWidth, header->biHeight) < kRawPreviewMinSide)
        return pictureFailure(DecodeStatus::Unsupported, QStringLiteral("the preview is small"));
    return uprightBlock(preview.handle(), raw.imgdata.sizes.flip);
}

// The sensor data demosaiced at 8 bits with the camera's white balance; LibRaw's output is
// upright already.
DecodeResult decodedPicture(
    RawDecoder &raw, std::int64_t fileSize, bool halfSize, QString &dataError)
{
    const libraw_image_sizes_t &sizes = raw.imgdata.sizes;
    if (std::int64_t(sizes.raw_width) * sizes.raw_height / 16 * kMinBytesPer16Pixels > fileSize)
        return pictureFailure(DecodeStatus::Failed,
            fillIn(QStringLiteral("the file is too short for the %1 x %2 sensor it claims"),
                sizes.raw_width, sizes.raw_height));
    libraw_output_params_t &params = raw.imgdata.params;
    params.use_camera_wb = 1;
    params.output_bps = 8;
    params.half_size = halfSize ? 1 : 0;
    int code = raw.unpack();
    if (code == LIBRAW_SUCCESS)
        code = raw.dcraw_process();
    if (code != LIBRAW_SUCCESS)
        return libRawFailure(code, dataError);
    // LibRaw fills what it could not read with black and goes on; such a picture is refused.
    if (!dataError.isEmpty())
        return pictureFailure(DecodeStatus::Failed, dataError);
    int width = 0, height = 0, colors = 0, bits = 0;
    raw.get_mem_image_format(&width, &height, &colors, &bits);
    if ((colors != 3 && colors != 1) || bits != 8)
        return pictureFailure(DecodeStatus::Unsupported,
            QStringLiteral("RAW pictures of %1 colours are not supported").arg(colors));
    DecodeResult made = createImageBlock(width, height, 24, 0);
    if (made.status != DecodeStatus::Ok)
        return made;
    BITMAPINFOHEADER *header = dibHeader(made.block);
    const int rowBytes = int(dibRowBytes(width, 24));
    if (colors == 3) {
        // Blue, green, red straight into the block, bottom row last.
        code = raw.copy_mem_image(dibRow(header, height - 1), -rowBytes, 1);
    } else {
        std::vector<unsigned char> grey(std::size_t(width) * std::size_t(height));
        code = raw.copy_mem_image(grey.data(), width, 0);
        for (int row = 0; row < height && code == LIBRAW_SUCCESS; ++row) {
            unsigned char *out = dibRow(header, height - 1 - row);
            const unsigned char *in = grey.data() + std::size_t(row) * std::size_t(width);
            for (int col = 0; col < width; ++col, out += 3)
                out[0] = out[1] = out[2] = in[col];
        }
    }
    if (code != LIBRAW_SUCCESS) {
        blockFree(made.block);
        return libRawFailure(code, dataError);
    }
    return made;
}

// Reads the RAW file LibRaw has opened, whichever way `use` asks.
DecodeResult readOpened(RawDecoder &raw, std::int64_t fileSize, PictureUse use, QString &dataError,
    MediaPictureSize *fullSize)
{
    const libraw_image_sizes_t &sizes = raw.imgdata.sizes;
    // The claim itself, before anything is unpacked: the upright picture must fit the limit.
    const DecodeResult size = checkPictureSize(sizes.width, sizes.height, 24);
    if (size.status != DecodeStatus::Ok)
        return size;
    if (fullSize) {
        const bool quarterTurn = (sizes.flip & 4) != 0;
        *fullSize = { quarterTurn ? sizes.height : sizes.width,
            quarterTurn ? sizes.width : sizes.height };
    }
    if (use == PictureUse::Thumbnail) {
        DecodeResult preview = previewPicture(raw, fileSize);
        if (preview.status == DecodeStatus::Ok)
            return preview;
    }
    return decodedPicture(raw, fileSize, use == PictureUse::Thumbnail, dataError);
}

// LibRaw's memory failures come back as its status too; by default it also prints them.
void ignoreMemoryError(void *, const char *, const char *)
{
}

// One LibRaw decoder with the note its data-error callback writes. It lives on the heap: LibRaw's
// record is far too large for a thread's stack, and the note must stay where the callback was
// told it is.
struct Session {
    Session()
    {
        raw.set_dataerror_handler(noteDataError, &dataError);
        raw.set_memerror_handler(ignoreMemoryError, nullptr);
    }
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;
    RawDecoder raw;
    QString dataError;
};

} // namespace

DecodeResult loadCameraRaw(const QString &path, PictureUse use, MediaPictureSize *fullSize)
{
    QFile file;
    const DecodeResult open = openForReading(file, path);
    if (open.status != DecodeStatus::Ok)
        return open;
    const std::int64_t fileSize = file.size();
    file.close();
    if (fileSize == 0)
        return pictureFailure(DecodeStatus::Unreadable, emptyFileDetail());
    const auto session = std::make_unique<Session>();
    const int opened = session->raw.open_file(QFile::encodeName(path).constData());
    if (opened != LIBRAW_SUCCESS)
        return libRawFailure(opened, session->dataError);
    return readOpened(session->raw, fileSize, use, session->dataError, fullSize);
}

DecodeResult decodeCameraRaw(
    std::span<const unsigned char> bytes, PictureUse use, MediaPictureSize *fullSize)
{
    if (bytes.empty())
        return pictureFailure(DecodeStatus::Unreadable, emptyFileDetail());
    const auto session = std::make_unique<Session>();
    // LibRaw reads the buffer only; its interface just lacks the const.
    const int opened
        = session->raw.open_buffer(const_cast<unsigned char *>(bytes.data()), bytes.size());
    if (opened != LIBRAW_SUCCESS)
        return libRawFailure(opened, session->dataError);
    return readOpened(session->raw, std::int64_t(bytes.size()), use, session->dataError, fullSize);
}

} // namespace glimmerix
