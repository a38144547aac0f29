#include "heifreader.h"

#include "picturestate.h"
#include "picturestatus.h"
#include "rgbblock.h"

#include <libheif/heif.h>

#include <QString>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

namespace glimmerix
{

namespace
{

struct ContextFree {
    void operator()(heif_context *context) const { heif_context_free(context); }
};
struct HandleFree {
    void operator()(heif_image_handle *handle) const { heif_image_handle_release(handle); }
};
struct ImageFree {
    void operator()(heif_image *image) const { heif_image_release(image); }
};
struct OptionsFree {
    void operator()(heif_decoding_options *options) const { heif_decoding_options_free(options); }
};
using Context = std::unique_ptr<heif_context, ContextFree>;
using Handle = std::unique_ptr<heif_image_handle, HandleFree>;
using Image = std::unique_ptr<heif_image, ImageFree>;

void initOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { heif_init(nullptr); });
}

DecodeResult heifFailure(const heif_error &error, const char *what)
{
    const QString cause
        = QString::fromUtf8(error.message ? error.message : "unknown error").trimmed();
    if (error.code == heif_error_Memory_allocation_error
        && error.subcode == heif_suberror_Security_limit_exceeded)
        return pictureFailure(DecodeStatus::TooLarge,
            QStringLiteral("the picture is larger than allowed (%1)").arg(cause));
    if (error.code == heif_error_Memory_allocation_error)
        return pictureFailure(DecodeStatus::NoMemory, QStringLiteral("not enough memory"));
    if (error.code == heif_error_Unsupported_feature
        || error.code == heif_error_Unsupported_filetype)
        return pictureFailure(
            DecodeStatus::Unsupported, QStringLiteral("%1: %2").arg(QLatin1String(what), cause));
    return pictureFailure(
        DecodeStatus::Failed, QStringLiteral("%1: %2").arg(QLatin1String(what), cause));
}

// The embedded thumbnail with the longest side, when it is large enough to stand in.
Handle usableThumbnail(heif_image_handle *primary)
{
    const int count = heif_image_handle_get_number_of_thumbnails(primary);
    if (count <= 0)
        return {};
    std::vector<heif_item_id> ids(std::size_t(std::min(count, 16)));
    const int listed
        = heif_image_handle_get_list_of_thumbnail_IDs(primary, ids.data(), int(ids.size()));
    Handle best;
    int bestSide = 0;
    for (int i = 0; i < listed; ++i) {
        heif_image_handle *candidate = nullptr;
        if (heif_image_handle_get_thumbnail(primary, ids[std::size_t(i)], &candidate).code
            != heif_error_Ok)
            continue;
        Handle owned(candidate);
        const int side = std::max(
            heif_image_handle_get_width(candidate), heif_image_handle_get_height(candidate));
        if (side >= kEmbeddedThumbnailMinimum && side > bestSide) {
            bestSide = side;
            best = std::move(owned);
        }
    }
    return best;
}

// Decodes `handle` into a block: the whole picture, or with `rule` only the pixels its
// thumbnail takes.
// `decodedSize` receives the decoded picture's size, its transforms applied.
DecodeResult decodeHandle(heif_image_handle *handle, ThumbnailRule rule = nullptr,
    MediaPictureSize *decodedSize = nullptr)
{
    const int announcedWidth = heif_image_handle_get_width(handle);
    const int announcedHeight = heif_image_handle_get_height(handle);
    DecodeResult size = checkPictureSize(announcedWidth, announcedHeight, 24);
    if (size.status != DecodeStatus::Ok)
        return size;
    const bool alpha = heif_image_handle_has_alpha_channel(handle) != 0;
    std::unique_ptr<heif_decoding_options, OptionsFree> options(heif_decoding_options_alloc());
    options->convert_hdr_to_8bit = 1;
    heif_image *decoded = nullptr;
    const heif_error error = heif_decode_image(handle, &decoded, heif_colorspace_RGB,
        alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options.get());
    if (error.code != heif_error_Ok)
        return heifFailure(error, "the picture cannot be decoded");
    Image image(decoded);
    const int width = heif_image_get_width(decoded, heif_channel_interleaved);
    const int height = heif_image_get_height(decoded, heif_channel_interleaved);
    int stride = 0;
    const std::uint8_t *pixels
        = heif_image_get_plane_readonly(decoded, heif_channel_interleaved, &stride);
    if (pixels == nullptr || width <= 0 || height <= 0
        || heif_image_get_bits_per_pixel_range(decoded, heif_channel_interleaved) != 8)
        return pictureFailure(DecodeStatus::Failed, QStringLiteral("the decoder gave no picture"));
    if (decodedSize)
        *decodedSize = { width, height };
    const RowLayout layout = alpha ? RowLayout::Rgba : RowLayout::Rgb;
    const int channels = alpha ? 4 : 3;
    if (rule != nullptr) {
        const MediaPictureSize small = rule(width, height);
        if (small.width > 0 && small.height > 0 && small.width <= width && small.height <= height
            && (small.width < width || small.height < height)) {
            DecodeResult made = newRgbBlock(small.width, small.height);
            if (made.status != DecodeStatus::Ok)
                return made;
            BITMAPINFOHEADER *header = dibHeader(made.block);
            std::vector<unsigned char> row(std::size_t(small.width) * std::size_t(channels));
            for (int y = 0; y < small.height; ++y) {
                // Row y from the bottom of the thumbnail is row y * height / its height from the
                // bottom of the picture.
                const int fromBottom = int(qint64(y) * height / small.height);
                const std::uint8_t *source
                    = pixels + std::size_t(height - 1 - fromBottom) * std::size_t(stride);
                for (int x = 0; x < small.width; ++x) {
                    const int sx = int(qint64(x) * width / small.width);
                    std::memcpy(row.data() + std::size_t(x) * std::size_t(channels),
                        source + std::size_t(sx) * std::size_t(channels), std::size_t(channels));
                }
                storeRow(header, small.height - 1 - y, row.data(), layout);
            }
            return made;
        }
    }
    DecodeResult made = newRgbBlock(width, height);
    if (made.status != DecodeStatus::Ok)
        return made;
    BITMAPINFOHEADER *header = dibHeader(made.block);
    for (int row = 0; row < height; ++row)
        storeRow(header, row, pixels + std::size_t(row) * std::size_t(stride), layout);
    return made;
}

} // namespace

DecodeResult readHeif(std::span<const unsigned char> bytes, PictureUse use,
    MediaPictureSize *fullSize, ThumbnailRule thumbnailRule)
{
    initOnce();
    Context context(heif_context_alloc());
    if (!context)
        return pictureFailure(DecodeStatus::NoMemory, QStringLiteral("not enough memory"));
    // libheif refuses larger pictures (grids included) while it reads the file's boxes.
    const double side = std::sqrt(double(pictureByteLimit()) / 3.0);
    heif_context_set_maximum_image_size_limit(
        context.get(), int(std::clamp(side, 1.0, 1.0 * (1 << 30))));
    heif_error error = heif_context_read_from_memory_without_copy(
        context.get(), bytes.data(), bytes.size(), nullptr);
    if (error.code != heif_error_Ok)
        return heifFailure(error, "not a readable HEIF file");
    heif_image_handle *primary = nullptr;
    error = heif_context_get_primary_image_handle(context.get(), &primary);
    if (error.code != heif_error_Ok)
        return heifFailure(error, "no main picture");
    Handle handle(primary);
    const int width = heif_image_handle_get_width(primary);
    const int height = heif_image_handle_get_height(primary);
    DecodeResult size = checkPictureSize(width, height, 24);
    if (size.status != DecodeStatus::Ok)
        return size;
    if (use == PictureUse::Thumbnail) {
        if (Handle thumbnail = usableThumbnail(primary)) {
            DecodeResult small = decodeHandle(thumbnail.get());
            if (small.status == DecodeStatus::Ok) {
                if (fullSize)
                    *fullSize = { width, height };
                return small;
            }
        }
    }
    const bool sampled = use == PictureUse::Thumbnail && thumbnailRule != nullptr;
    MediaPictureSize decoded;
    DecodeResult full = decodeHandle(primary, sampled ? thumbnailRule : nullptr, &decoded);
    if (full.status == DecodeStatus::Ok && fullSize)
        *fullSize = decoded;
    return full;
}

} // namespace glimmerix
