// The libjpeg glue. libjpeg reports fatal errors through an error exit that must not return;
// ours jumps back (longjmp) to the routine that started the library call. To keep that sound in
// C++, everything the jump crosses is plain data: the library state lives in a job record owned
// by the caller, the routines that call setjmp hold no object with a destructor, and the
// decompressor or compressor is destroyed on every path.

#include "jpegcodec.h"

#include "dibblock.h"
#include "imageconvert.h"
#include "jpegerrors.h"
#include "picturestate.h"
#include "picturestatus.h"

#include "platform/host.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace glimmerix
{

namespace
{

struct ReadJob {
    std::FILE *file;
    bool interactive;
    jpeg_decompress_struct info;
    JpegErrorManager error;
    DecodeStatus status;
    BlockHandle block;
    bool libraryError;
    bool cmyk;
    int components;
    std::int64_t width; // the header's claim, for the size refusal's detail
    std::int64_t height;
};

void fillGreyTable(BITMAPINFOHEADER *header)
{
    RGBQUAD *table = dibColors(header);
    for (int i = 0; i < 256; ++i)
        table[i] = { std::uint8_t(i), std::uint8_t(i), std::uint8_t(i), 0 };
}

// Runs the decompressor. Only plain data here: see the note at the top of the file.
void runDecompressor(ReadJob *job)
{
    jpeg_decompress_struct *info = &job->info;
    info->err = jpegJumpingErrors(job->error);
    if (setjmp(job->error.jump)) {
        job->libraryError = true;
        jpeg_destroy_decompress(info);
        return;
    }
    jpeg_create_decompress(info);
    jpeg_stdio_src(info, job->file);
    jpeg_read_header(info, TRUE);
    jpeg_calc_output_dimensions(info);
    const int components = info->output_components;
    job->components = components;
    job->width = info->output_width;
    job->height = info->output_height;
    if (components != 3 && components != 1) {
        job->status = DecodeStatus::Unsupported;
        job->cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
        jpeg_destroy_decompress(info);
        return;
    }
#ifdef JCS_EXTENSIONS
    // libjpeg-turbo converts straight into the block's blue, green, red order.
    if (info->out_color_space == JCS_RGB)
        info->out_color_space = JCS_EXT_BGR;
#endif
    // The size check comes before jpeg_start_decompress, which for a progressive file already
    // buffers the whole picture's coefficients.
    const DecodeResult made = createImageBlock(std::int32_t(info->output_width),
        std::int32_t(info->output_height), 8 * components, components == 1 ? 256 : 0);
    if (made.status != DecodeStatus::Ok) {
        job->status = made.status;
        jpeg_destroy_decompress(info);
        return;
    }
    job->block = made.block;
    BITMAPINFOHEADER *header = dibHeader(job->block);
    header->biXPelsPerMeter = pelsPerMeter(info->density_unit, info->X_density);
    header->biYPelsPerMeter = pelsPerMeter(info->density_unit, info->Y_density);
    if (components == 1)
        fillGreyTable(header);

    jpeg_start_decompress(info);
    const std::int64_t height = info->output_height;
    const std::size_t width = info->output_width;
    if (job->interactive)
        pollEscape(); // clears a press left over from before the read
    for (std::int64_t row = 0; row < height; ++row) {
        if (job->interactive && row % 16 == 0) {
            if (pollEscape()) {
                job->status = DecodeStatus::Cancelled;
                jpeg_destroy_decompress(info);
                return;
            }
            reportProgress(int(row * 100 / height));
        }
        JSAMPROW target = dibRow(header, height - 1 - row);
        jpeg_read_scanlines(info, &target, 1);
#ifndef JCS_EXTENSIONS
        if (components == 3) {
            for (std::size_t x = 0; x < width; ++x)
                std::swap(target[3 * x], target[3 * x + 2]);
        }
#else
        (void)width;
#endif
    }
    jpeg_finish_decompress(info);
    jpeg_destroy_decompress(info);
    job->status = DecodeStatus::Ok;
}

struct WriteJob {
    std::FILE *file;
    bool interactive;
    jpeg_compress_struct info;
    JpegErrorManager error;
    BITMAPINFOHEADER *header;
    int components;
    int quality;
    unsigned char *rowBuffer; // red, green, blue copy of one row where the library needs it
    bool cancelled;
    bool libraryError;
    bool complete;
};

std::uint16_t dotsPerInch(std::int32_t pelsPerMeter)
{
    const std::int64_t dpi = (std::int64_t(std::max(pelsPerMeter, 0)) * 100 + 1968) / 3937;
    return std::uint16_t(std::min<std::int64_t>(dpi, 65535));
}

// Runs the compressor. Only plain data here: see the note at the top of the file.
void runCompressor(WriteJob *job)
{
    jpeg_compress_struct *info = &job->info;
    info->err = jpegJumpingErrors(job->error);
    if (setjmp(job->error.jump)) {
        job->libraryError = true;
        jpeg_destroy_compress(info);
        return;
    }
    jpeg_create_compress(info);
    jpeg_stdio_dest(info, job->file);
    BITMAPINFOHEADER *header = job->header;
    info->image_width = JDIMENSION(header->biWidth);
    info->image_height = JDIMENSION(header->biHeight);
    info->input_components = job->components;
#ifdef JCS_EXTENSIONS
    info->in_color_space = job->components == 1 ? JCS_GRAYSCALE : JCS_EXT_BGR;
#else
    info->in_color_space = job->components == 1 ? JCS_GRAYSCALE : JCS_RGB;
#endif
    jpeg_set_defaults(info);
    jpeg_set_quality(info, job->quality, TRUE);
    info->density_unit = 1;
    info->X_density = dotsPerInch(header->biXPelsPerMeter);
    info->Y_density = dotsPerInch(header->biYPelsPerMeter);
    jpeg_start_compress(info, TRUE);

    const std::int64_t height = header->biHeight;
    if (job->interactive)
        pollEscape(); // clears a press left over from before the write
    while (info->next_scanline < info->image_height) {
        const std::int64_t row = info->next_scanline;
        if (job->interactive && row % 16 == 0) {
            if (pollEscape()) {
                job->cancelled = true;
                break;
            }
            reportProgress(int(row * 100 / height));
        }
        JSAMPROW source = dibRow(header, height - row - 1);
        if (job->rowBuffer != nullptr) {
            for (std::int64_t x = 0; x < header->biWidth; ++x) {
                job->rowBuffer[3 * x] = source[3 * x + 2];
                job->rowBuffer[3 * x + 1] = source[3 * x + 1];
                job->rowBuffer[3 * x + 2] = source[3 * x];
            }
            source = job->rowBuffer;
        }
        jpeg_write_scanlines(info, &source, 1);
    }
    // After a cancel the library rejects the short picture and returns through the error exit.
    jpeg_finish_compress(info);
    jpeg_destroy_compress(info);
    job->complete = true;
}

} // namespace

DecodeResult readJpeg(std::FILE *file, bool interactive)
{
    ReadJob job {};
    job.file = file;
    job.interactive = interactive;
    job.status = DecodeStatus::Failed;
    runDecompressor(&job);
    if (job.status == DecodeStatus::Cancelled) {
        blockFree(job.block);
        return pictureFailure(DecodeStatus::Cancelled, cancelledDetail());
    }
    if (job.libraryError)
        return { DecodeStatus::Failed, job.block,
            QStringLiteral("JPEG: %1").arg(QString::fromLocal8Bit(job.error.message)) };
    if (job.status == DecodeStatus::Unsupported)
        return pictureFailure(DecodeStatus::Unsupported,
            job.cmyk ? QStringLiteral("CMYK JPEG pictures are not supported")
                     : QStringLiteral("JPEG pictures of %1 components are not supported")
                           .arg(job.components));
    if (job.status == DecodeStatus::Ok)
        return { DecodeStatus::Ok, job.block, {} };
    // The block could not be made: beyond the size limit, or no memory.
    if (job.status == DecodeStatus::TooLarge)
        return checkPictureSize(job.width, job.height, 8 * job.components);
    return pictureFailure(job.status, QStringLiteral("not enough memory"));
}

WriteResult writeJpeg(std::FILE *file, BlockHandle block, int quality, bool interactive)
{
    const int imageClass = ClassifyImage(block);
    if (imageClass != kClassGrey && imageClass != kClassTrueColor)
        return writeFailure(DecodeStatus::Unsuitable,
            QStringLiteral("only greyscale and 24-bit pictures can be saved as JPEG"));
    WriteJob job {};
    job.file = file;
    job.interactive = interactive;
    job.header = dibHeader(block);
    job.components = imageClass == kClassGrey ? 1 : 3;
    job.quality = std::clamp(quality, 0, 100);
#ifndef JCS_EXTENSIONS
    OwnedBlock rowBuffer;
    if (job.components == 3) {
        rowBuffer.reset(blockAlloc(0, std::size_t(job.header->biWidth) * 3 + 10));
        if (!rowBuffer)
            return writeFailure(DecodeStatus::NoMemory, QStringLiteral("not enough memory"));
        job.rowBuffer = rowBuffer.data();
    }
#endif
    runCompressor(&job);
    if (job.cancelled)
        return writeFailure(DecodeStatus::Cancelled, cancelledDetail());
    if (job.complete && !job.libraryError)
        return { DecodeStatus::Ok, {} };
    // libjpeg's stdio destination reports a short fwrite as "Output file write error"; errno
    // tells whether the disk was full.
    const QString library = QString::fromLocal8Bit(job.error.message);
    return writeFailure(DecodeStatus::Failed,
        errno == ENOSPC ? QStringLiteral("disk full") : QStringLiteral("JPEG: %1").arg(library));
}

DecodeResult loadJpegFile(const QString &path)
{
    setCurrentPicturePath(path);
    QFile input;
    DecodeResult opened = openForReading(input, path);
    if (opened.status != DecodeStatus::Ok)
        return opened;
    const int descriptor = ::dup(input.handle());
    std::FILE *file = descriptor < 0 ? nullptr : ::fdopen(descriptor, "rb");
    if (file == nullptr) {
        if (descriptor >= 0)
            ::close(descriptor);
        return pictureFailure(
            DecodeStatus::CannotOpen, QString::fromLocal8Bit(std::strerror(errno)));
    }
    DecodeResult result = readJpeg(file, true);
    std::fclose(file);
    reportProgress(100);
    if (input.size() == 0)
        result.detail = emptyFileDetail();
    return result;
}

BlockHandle ReadJpegFile(const QString &path)
{
    const DecodeResult result = loadJpegFile(path);
    // The JPEG reader shows the open-failure message even while the quiet switch is on.
    if (result.status == DecodeStatus::CannotOpen && quietSwitch())
        showOpenFailure(path);
    return fileReaderResult(result, path, kReadFailed);
}

WriteResult saveJpegFile(const QString &path, BlockHandle block, int quality)
{
    const int imageClass = ClassifyImage(block);
    if (imageClass != kClassGrey && imageClass != kClassTrueColor)
        return writeFailure(DecodeStatus::Unsuitable,
            QStringLiteral("only greyscale and 24-bit pictures can be saved as JPEG"));
    // The encoder writes through stdio into the picture target, which replaces an existing
    // picture only when everything went out (pictureTarget).
    const std::unique_ptr<QFileDevice> target = pictureTarget(path);
    QFileDevice &output = *target;
    if (!output.open(QIODevice::WriteOnly))
        return writeFailure(DecodeStatus::CannotCreate, output.errorString());
    const int descriptor = ::dup(output.handle());
    std::FILE *file = descriptor < 0 ? nullptr : ::fdopen(descriptor, "wb");
    if (file == nullptr) {
        const QString cause = QString::fromLocal8Bit(std::strerror(errno));
        if (descriptor >= 0)
            ::close(descriptor);
        return writeFailure(DecodeStatus::CannotCreate, cause);
    }
    errno = 0;
    WriteResult result = writeJpeg(file, block, quality, true);
    const bool closed = std::fclose(file) == 0;
    reportProgress(100);
    if (!result.ok())
        return result;
    const auto failure = [] {
        return writeFailure(DecodeStatus::Failed,
            errno == ENOSPC ? QStringLiteral("disk full")
                            : QString::fromLocal8Bit(std::strerror(errno)));
    };
    if (!closed)
        return failure();
    errno = 0;
    if (!finishPictureTarget(output))
        return errno != 0 ? failure() : writeFailure(DecodeStatus::Failed, output.errorString());
    return result;
}

int WriteJpegFile(const QString &path, BlockHandle block, int quality)
{
    const WriteResult result = saveJpegFile(path, block, quality);
    if (result.status == DecodeStatus::Unsuitable)
        host().showMessage(Message::kJpegUnsuitable);
    return fileWriterResult(result, kWriteUnsuitable);
}

} // namespace glimmerix
