#include "jxlreader.h"

#include "picturestatus.h"
#include "rgbblock.h"

#include <jxl/decode.h>

#include <memory>

namespace glimmerix
{

namespace
{

struct DecoderFree {
    void operator()(JxlDecoder *decoder) const { JxlDecoderDestroy(decoder); }
};

// Rows arrive from the decoder in pieces; each is composed on white into the block.
void storeDecoded(void *opaque, std::size_t x, std::size_t y, std::size_t count, const void *pixels)
{
    auto *header = static_cast<BITMAPINFOHEADER *>(opaque);
    if (y >= std::size_t(header->biHeight) || x >= std::size_t(header->biWidth)
        || count > std::size_t(header->biWidth) - x)
        return;
    storePixels(header, std::int64_t(y), std::int64_t(x), std::int64_t(count),
        static_cast<const unsigned char *>(pixels), RowLayout::Rgba);
}

DecodeResult damaged()
{
    return pictureFailure(DecodeStatus::Failed, QStringLiteral("the JPEG XL data is damaged"));
}

} // namespace

DecodeResult readJpegXl(std::span<const unsigned char> bytes)
{
    std::unique_ptr<JxlDecoder, DecoderFree> decoder(JxlDecoderCreate(nullptr));
    if (!decoder)
        return pictureFailure(DecodeStatus::NoMemory, QStringLiteral("not enough memory"));
    JxlDecoder *jxl = decoder.get();
    if (JxlDecoderSubscribeEvents(jxl, JXL_DEC_BASIC_INFO | JXL_DEC_FULL_IMAGE) != JXL_DEC_SUCCESS
        || JxlDecoderSetInput(jxl, bytes.data(), bytes.size()) != JXL_DEC_SUCCESS)
        return damaged();
    JxlDecoderCloseInput(jxl);
    const JxlPixelFormat format { 4, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0 };
    OwnedBlock block;
    for (;;) {
        switch (JxlDecoderProcessInput(jxl)) {
        case JXL_DEC_BASIC_INFO: {
            JxlBasicInfo info;
            if (JxlDecoderGetBasicInfo(jxl, &info) != JXL_DEC_SUCCESS)
                return damaged();
            // The decoder turns the picture upright; orientations 5 to 8 swap its sides.
            const bool transposed = info.orientation >= JXL_ORIENT_TRANSPOSE;
            DecodeResult made = transposed ? newRgbBlock(info.ysize, info.xsize)
                                           : newRgbBlock(info.xsize, info.ysize);
            if (made.status != DecodeStatus::Ok)
                return made;
            block.reset(made.block);
            break;
        }
        case JXL_DEC_NEED_IMAGE_OUT_BUFFER:
            if (!block
                || JxlDecoderSetImageOutCallback(
                       jxl, &format, storeDecoded, dibHeader(block.handle()))
                    != JXL_DEC_SUCCESS)
                return damaged();
            break;
        case JXL_DEC_FULL_IMAGE:
            // The first frame is the picture; later frames of an animation are not read.
            if (!block)
                return damaged();
            return { DecodeStatus::Ok, block.release(), {} };
        case JXL_DEC_NEED_MORE_INPUT:
            return pictureFailure(DecodeStatus::Unreadable, truncatedDetail());
        case JXL_DEC_SUCCESS:
        case JXL_DEC_ERROR:
        default:
            return damaged();
        }
    }
}

} // namespace glimmerix
