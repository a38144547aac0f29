// The clip module (glimix-clip.so): reads a clip's first video frame through FFmpeg. Built as a
// separate loadable module so that only callers that need a clip load FFmpeg (clipmodule.h).

#include "clipmodule.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <string_view>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/display.h>
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
using FormatPointer = std::unique_ptr<AVFormatContext, FormatCloser>;

// Opens the clip at `path` without FFmpeg's log lines; null when it cannot be opened.
FormatPointer openClip(const char *path)
{
    av_log_set_level(AV_LOG_QUIET);
    AVFormatContext *rawFormat = nullptr;
    if (avformat_open_input(&rawFormat, path, nullptr, nullptr) < 0)
        return nullptr;
    return FormatPointer(rawFormat);
}
struct ScalerFreer {
    void operator()(SwsContext *context) const { sws_freeContext(context); }
};

// Clips larger than this per side are not thumbnailed from their frame (hostile headers).
constexpr int kMaxFrameSide = 16384;

bool copyFrame(const AVFrame &frame, GlimmerixFrameTarget target, void *context)
{
    const int width = frame.width;
    const int height = frame.height;
    if (width <= 0 || height <= 0 || width > kMaxFrameSide || height > kMaxFrameSide)
        return false;
    std::unique_ptr<SwsContext, ScalerFreer> scaler(
        sws_getContext(width, height, static_cast<AVPixelFormat>(frame.format), width, height,
            AV_PIX_FMT_BGR24, SWS_POINT, nullptr, nullptr, nullptr));
    if (!scaler)
        return false;
    int stride = 0;
    unsigned char *top = target(context, width, height, &stride);
    if (!top)
        return false;
    uint8_t *planes[4] = { top, nullptr, nullptr, nullptr };
    int strides[4] = { stride, 0, 0, 0 };
    return sws_scale(scaler.get(), frame.data, frame.linesize, 0, height, planes, strides)
        == height;
}

// The quarter turn clockwise the stream's display matrix asks for (the way FFmpeg's own tool
// turns a clip when it decodes it); 0 without a matrix or for a turn that is not a quarter.
int displayTurn(const AVStream &stream)
{
    const uint8_t *matrix = av_stream_get_side_data(&stream, AV_PKT_DATA_DISPLAYMATRIX, nullptr);
    if (!matrix)
        return 0;
    // The library gives the counter-clockwise angle; NaN for a matrix that is no rotation.
    const double counterClockwise
        = av_display_rotation_get(reinterpret_cast<const int32_t *>(matrix));
    if (std::isnan(counterClockwise))
        return 0;
    const long clockwise = std::lround(-counterClockwise);
    const long turn = ((clockwise % 360) + 360) % 360;
    return turn % 90 == 0 ? int(turn) : 0;
}

int readFirstFrame(const char *path, GlimmerixFrameTarget target, void *context, int *clockwise)
{
    const FormatPointer format = openClip(path);
    if (!format)
        return GlimmerixClipCannotOpen;
    if (avformat_find_stream_info(format.get(), nullptr) < 0)
        return GlimmerixClipNoVideoStream;
    const AVCodec *codec = nullptr;
    const int stream = av_find_best_stream(format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    if (stream < 0 || !codec)
        return GlimmerixClipNoVideoStream;
    if (clockwise)
        *clockwise = displayTurn(*format->streams[stream]);
    std::unique_ptr<AVCodecContext, CodecFreer> decoder(avcodec_alloc_context3(codec));
    if (!decoder
        || avcodec_parameters_to_context(decoder.get(), format->streams[stream]->codecpar) < 0
        || avcodec_open2(decoder.get(), codec, nullptr) < 0)
        return GlimmerixClipNoVideoStream;

    std::unique_ptr<AVPacket, PacketFreer> packet(av_packet_alloc());
    std::unique_ptr<AVFrame, FrameFreer> frame(av_frame_alloc());
    if (!packet || !frame)
        return GlimmerixClipNoFrame;
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
        if (received == 0)
            return copyFrame(*frame, target, context) ? GlimmerixClipOk : GlimmerixClipNoFrame;
        if (received != AVERROR(EAGAIN))
            break;
    }
    return GlimmerixClipNoFrame;
}

int clipDisplayTurn(const char *path)
{
    const FormatPointer format = openClip(path);
    if (!format)
        return 0;
    if (avformat_find_stream_info(format.get(), nullptr) < 0)
        return 0;
    const int stream = av_find_best_stream(format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    return stream < 0 ? 0 : displayTurn(*format->streams[stream]);
}

// The "creation_time" tag of the container, or of the first stream that carries one.
int clipCreationTime(const char *path, char *text, int size)
{
    if (size <= 0)
        return 0;
    const FormatPointer format = openClip(path);
    if (!format)
        return 0;
    const AVDictionaryEntry *entry = av_dict_get(format->metadata, "creation_time", nullptr, 0);
    for (unsigned i = 0; !entry && i < format->nb_streams; ++i)
        entry = av_dict_get(format->streams[i]->metadata, "creation_time", nullptr, 0);
    if (!entry || !entry->value || !*entry->value)
        return 0;
    std::snprintf(text, std::size_t(size), "%s", entry->value);
    return 1;
}

// Whether every current web browser plays the clip as it is: H.264 video with AAC sound in an
// ISO media file (MP4, M4V, MOV, 3GP), or VP8, VP9 or AV1 video with Vorbis or Opus sound in a
// WebM/Matroska file. A clip needs a video stream; streams other than video and sound (time
// codes, subtitles) do not count.
int clipBrowserPlays(const char *path)
{
    const FormatPointer format = openClip(path);
    if (!format)
        return 0;
    if (avformat_find_stream_info(format.get(), nullptr) < 0)
        return 0;
    const std::string_view container = format->iformat->name;
    const bool iso = container.starts_with("mov,mp4");
    const bool webm = container.starts_with("matroska");
    if (!iso && !webm)
        return 0;
    bool video = false;
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        const AVCodecParameters &codec = *format->streams[i]->codecpar;
        if (codec.codec_type == AVMEDIA_TYPE_VIDEO) {
            if (format->streams[i]->disposition & AV_DISPOSITION_ATTACHED_PIC)
                continue; // a cover picture
            const bool plays = iso ? codec.codec_id == AV_CODEC_ID_H264
                                   : codec.codec_id == AV_CODEC_ID_VP8
                    || codec.codec_id == AV_CODEC_ID_VP9 || codec.codec_id == AV_CODEC_ID_AV1;
            if (!plays)
                return 0;
            video = true;
        } else if (codec.codec_type == AVMEDIA_TYPE_AUDIO) {
            const bool plays = iso
                ? codec.codec_id == AV_CODEC_ID_AAC
                : codec.codec_id == AV_CODEC_ID_VORBIS || codec.codec_id == AV_CODEC_ID_OPUS;
            if (!plays)
                return 0;
        }
    }
    return video ? 1 : 0;
}

} // namespace
} // namespace glimmerix

extern "C" __attribute__((visibility("default"))) int glimmerixReadFirstFrame(
    const char *path, GlimmerixFrameTarget target, void *context)
{
    return glimmerix::readFirstFrame(path, target, context, nullptr);
}

extern "C" __attribute__((visibility("default"))) int glimmerixReadTurnedFirstFrame(
    const char *path, GlimmerixFrameTarget target, void *context, int *clockwise)
{
    *clockwise = 0;
    return glimmerix::readFirstFrame(path, target, context, clockwise);
}

extern "C" __attribute__((visibility("default"))) int glimmerixClipDisplayTurn(const char *path)
{
    return glimmerix::clipDisplayTurn(path);
}

extern "C" __attribute__((visibility("default"))) int glimmerixClipCreationTime(
    const char *path, char *text, int size)
{
    return glimmerix::clipCreationTime(path, text, size);
}

extern "C" __attribute__((visibility("default"))) int glimmerixClipBrowserPlays(const char *path)
{
    return glimmerix::clipBrowserPlays(path);
}
