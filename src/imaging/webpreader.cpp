#include "webpreader.h"

#include "picturestatus.h"
#include "rgbblock.h"

#include <webp/decode.h>
#include <webp/demux.h>

#include <memory>

namespace glimmerix
{

namespace
{

struct DemuxFree {
    void operator()(WebPDemuxer *demuxer) const { WebPDemuxDelete(demuxer); }
};

DecodeResult decodeStill(const std::uint8_t *data, std::size_t size)
{
    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config))
        return pictureFailure(DecodeStatus::Failed, QStringLiteral("the WebP library is unusable"));
    const VP8StatusCode status = WebPGetFeatures(data, size, &config.input);
    if (status == VP8_STATUS_NOT_ENOUGH_DATA)
        return pictureFailure(DecodeStatus::Unreadable, truncatedDetail());
    if (status != VP8_STATUS_OK)
        return pictureFailure(DecodeStatus::Failed, QStringLiteral("not a readable WebP picture"));
    const int width = config.input.width;
    const int height = config.input.height;
    DecodeResult made = newRgbBlock(width, height);
    if (made.status != DecodeStatus::Ok)
        return made;
    OwnedBlock block(made.block);
    // The decoder fills a buffer of whole rows, decoded into RGBA or RGB; rows are then turned
    // into the block's bottom-up BGR ones.
    const bool alpha = config.input.has_alpha != 0;
    config.output.colorspace = alpha ? MODE_RGBA : MODE_RGB;
    if (WebPDecode(data, size, &config) != VP8_STATUS_OK) {
        WebPFreeDecBuffer(&config.output);
        return pictureFailure(DecodeStatus::Failed, QStringLiteral("the WebP data is damaged"));
    }
    const WebPRGBABuffer &rgba = config.output.u.RGBA;
    BITMAPINFOHEADER *header = dibHeader(block.handle());
    if (config.output.width != width || config.output.height != height) {
        WebPFreeDecBuffer(&config.output);
        return pictureFailure(DecodeStatus::Failed, QStringLiteral("the WebP data is damaged"));
    }
    for (int row = 0; row < height; ++row)
        storeRow(header, row, rgba.rgba + std::size_t(row) * std::size_t(rgba.stride),
            alpha ? RowLayout::Rgba : RowLayout::Rgb);
    WebPFreeDecBuffer(&config.output);
    return { DecodeStatus::Ok, block.release(), {} };
}

} // namespace

DecodeResult readWebP(std::span<const unsigned char> bytes)
{
    WebPBitstreamFeatures features;
    if (WebPGetFeatures(bytes.data(), bytes.size(), &features) == VP8_STATUS_OK
        && features.has_animation) {
        // An animation: its first frame, as the demuxer gives it (a full canvas frame or not).
        const WebPData data { bytes.data(), bytes.size() };
        std::unique_ptr<WebPDemuxer, DemuxFree> demuxer(WebPDemux(&data));
        if (!demuxer)
            return pictureFailure(
                DecodeStatus::Failed, QStringLiteral("the WebP animation is damaged"));
        WebPIterator frame;
        if (!WebPDemuxGetFrame(demuxer.get(), 1, &frame))
            return pictureFailure(
                DecodeStatus::Failed, QStringLiteral("the WebP animation has no frame"));
        DecodeResult result = decodeStill(frame.fragment.bytes, frame.fragment.size);
        WebPDemuxReleaseIterator(&frame);
        return result;
    }
    return decodeStill(bytes.data(), bytes.size());
}

} // namespace glimmerix
