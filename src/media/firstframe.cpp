#include "firstframe.h"

#include "imaging/dibblock.h"

#include <QFile>

#include <cstring>
#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

namespace glimmerix
{

namespace
{

struct FormatCloser {
    void operator()(AVFormatContext *context) const { avformat_close_input(&context); }
};
struct CodecFreer {
    void operator()(AVCodecContext *context) const { avcodec_free_context(&context); }
};
struct FrameFreer {
    void operator()(AVFrame *frame) const { av_frame_free(&frame); }
};
struct PacketFreer {
    void operator()(AVPacket *packet) const { av_packet_free(&packet); }
};
struct ScalerFreer {
    void operator()(SwsContext *context) const { sws_freeContext(context); }
};

// Clips larger than this per side are not thumbnailed from their frame (hostile headers).
constexpr int kMaxFrameSide = 16384;

BlockHandle frameToBlock(const AVFrame &frame)
{
    const int width = frame.width;
    const int height = frame.height;
    if (width <= 0 || height <= 0 || width > kMaxFrameSide || height > kMaxFrameSide)
        return 0;
    std::unique_ptr<SwsContext, ScalerFreer> scaler(
        sws_getContext(width, height, static_cast<AVPixelFormat>(frame.format), width, height,
            AV_PIX_FMT_BGR24, SWS_POINT, nullptr, nullptr, nullptr));
    if (!scaler)
        return 0;
    const DecodeResult made = createImageBlock(width, height, 24, 0);
    if (made.status != DecodeStatus::Ok)
        return 0;
    const BlockHandle block = made.block;
    BITMAPINFOHEADER *header = dibHeader(block);
    // Image blocks store rows bottom-up: point the scaler at the last row with a negative stride.
    uint8_t *planes[4] = { dibRow(header, height - 1), nullptr, nullptr, nullptr };
    int strides[4] = { -int(dibRowBytes(width, 24)), 0, 0, 0 };
    if (sws_scale(scaler.get(), frame.data, frame.linesize, 0, height, planes, strides) != height) {
        blockFree(block);
        return 0;
    }
    return block;
}

} // namespace

FirstFrame readFirstVideoFrame(const QString &path)
{
    FirstFrame out;
    av_log_set_level(AV_LOG_QUIET);
    AVFormatContext *rawFormat = nullptr;
    const QByteArray name = QFile::encodeName(path);
    if (avformat_open_input(&rawFormat, name.constData(), nullptr, nullptr) < 0)
        return out;
    std::unique_ptr<AVFormatContext, FormatCloser> format(rawFormat);
    out.result = FirstFrameResult::NoVideoStream;
    if (avformat_find_stream_info(format.get(), nullptr) < 0)
        return out;
    const AVCodec *codec = nullptr;
    const int stream = av_find_best_stream(format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    if (stream < 0 || !codec)
        return out;
    std::unique_ptr<AVCodecContext, CodecFreer> decoder(avcodec_alloc_context3(codec));
    if (!decoder
        || avcodec_parameters_to_context(decoder.get(), format->streams[stream]->codecpar) < 0
        || avcodec_open2(decoder.get(), codec, nullptr) < 0)
        return out;

    out.result = FirstFrameResult::NoFrame;
    std::unique_ptr<AVPacket, PacketFreer> packet(av_packet_alloc());
    std::unique_ptr<AVFrame, FrameFreer> frame(av_frame_alloc());
    if (!packet || !frame)
        return out;
    // A damaged clip could feed packets forever without a picture; give up after a while.
    int packetsLeft = 2000;
    bool draining = false;
    while (packetsLeft-- > 0) {
        if (!draining) {
            const int read = av_read_frame(format.get(), packet.get());
            if (read < 0) {
                draining = true;
                avcodec_send_packet(decoder.get(), nullptr);
            } else {
                if (packet->stream_index == stream)
                    avcodec_send_packet(decoder.get(), packet.get());
                av_packet_unref(packet.get());
            }
        }
        const int received = avcodec_receive_frame(decoder.get(), frame.get());
        if (received == 0) {
            out.block = frameToBlock(*frame);
            out.result
                = isBlockHandle(out.block) ? FirstFrameResult::Ok : FirstFrameResult::NoFrame;
            return out;
        }
        if (received != AVERROR(EAGAIN))
            break;
    }
    return out;
}

BlockHandle GetFirstMpegFrame(const QString &path)
{
    const FirstFrame frame = readFirstVideoFrame(path);
    return frame.result == FirstFrameResult::Ok ? frame.block : 0;
}

} // namespace glimmerix
