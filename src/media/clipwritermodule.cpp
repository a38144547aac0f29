// The clip module's writer: AVI files with Motion-JPEG video and PCM sound through FFmpeg, for
// video capture. Part of glimix-clip.so (clipmodule.h), like the first-frame reader.

#include "clipmodule.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

#include <cstring>

struct GlimmerixClipWriter {
    AVFormatContext *format = nullptr;
    AVCodecContext *video = nullptr;
    AVCodecContext *audio = nullptr;
    AVStream *videoStream = nullptr;
    AVStream *audioStream = nullptr;
    SwsContext *scaler = nullptr;
    AVFrame *frame = nullptr;
    AVFrame *sound = nullptr;
    AVPacket *packet = nullptr;
    long long samplesWritten = 0;
    int blockAlign = 0; // bytes of one sample of every channel
    int width = 0;
    int height = 0;
    bool headerWritten = false;
    bool failed = false;
};

namespace glimmerix
{
namespace
{

void freeWriter(GlimmerixClipWriter *writer)
{
    sws_freeContext(writer->scaler);
    av_frame_free(&writer->frame);
    av_frame_free(&writer->sound);
    av_packet_free(&writer->packet);
    avcodec_free_context(&writer->video);
    avcodec_free_context(&writer->audio);
    if (writer->format) {
        if (writer->format->pb)
            avio_closep(&writer->format->pb);
        avformat_free_context(writer->format);
    }
    delete writer;
}

// Sends `frame` (null: flush) to `codec` and writes every packet that comes out.
int encode(GlimmerixClipWriter *writer, AVCodecContext *codec, AVStream *stream, AVFrame *frame)
{
    if (avcodec_send_frame(codec, frame) < 0)
        return GlimmerixWriteFailed;
    for (;;) {
        const int received = avcodec_receive_packet(codec, writer->packet);
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF)
            return GlimmerixWriteOk;
        if (received < 0)
            return GlimmerixWriteFailed;
        av_packet_rescale_ts(writer->packet, codec->time_base, stream->time_base);
        writer->packet->stream_index = stream->index;
        const int written = av_interleaved_write_frame(writer->format, writer->packet);
        if (written < 0 || (writer->format->pb && writer->format->pb->error < 0))
            return GlimmerixWriteFailed;
    }
}

AVCodecContext *openVideo(GlimmerixClipWriter *writer, long long microSecPerFrame)
{
    const AVCodec *codec = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
    if (!codec)
        return nullptr;
    AVCodecContext *video = avcodec_alloc_context3(codec);
    if (!video)
        return nullptr;
    video->width = writer->width;
    video->height = writer->height;
    video->pix_fmt = AV_PIX_FMT_YUVJ420P;
    av_reduce(&video->time_base.num, &video->time_base.den, microSecPerFrame, 1000000, INT_MAX);
    video->framerate = av_inv_q(video->time_base);
    video->flags |= AV_CODEC_FLAG_QSCALE;
    video->global_quality = FF_QP2LAMBDA * 4;
    if (writer->format->oformat->flags & AVFMT_GLOBALHEADER)
        video->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (avcodec_open2(video, codec, nullptr) < 0)
        avcodec_free_context(&video);
    return video;
}

AVCodecContext *openAudio(int rate, int channels, int bits)
{
    const bool wide = bits == 16;
    const AVCodec *codec = avcodec_find_encoder(wide ? AV_CODEC_ID_PCM_S16LE : AV_CODEC_ID_PCM_U8);
    if (!codec)
        return nullptr;
    AVCodecContext *audio = avcodec_alloc_context3(codec);
    if (!audio)
        return nullptr;
    audio->sample_fmt = wide ? AV_SAMPLE_FMT_S16 : AV_SAMPLE_FMT_U8;
    audio->sample_rate = rate;
    av_channel_layout_default(&audio->ch_layout, channels);
    audio->time_base = AVRational { 1, rate };
    if (avcodec_open2(audio, codec, nullptr) < 0)
        avcodec_free_context(&audio);
    return audio;
}

GlimmerixClipWriter *openWriter(const char *path, int width, int height, long long microSecPerFrame,
    int audioRate, int audioChannels, int audioBits, int *result)
{
    av_log_set_level(AV_LOG_QUIET);
    *result = GlimmerixWriteCannotCreate;
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384 || microSecPerFrame <= 0)
        return nullptr;
    if (audioRate < 0 || audioRate > 384000
        || (audioRate > 0
            && (audioChannels < 1 || audioChannels > 8 || (audioBits != 8 && audioBits != 16))))
        return nullptr;
    auto *writer = new GlimmerixClipWriter;
    writer->width = width;
    writer->height = height;
    // The container is named, not guessed: the capture file's name ends in ".tmp".
    if (avformat_alloc_output_context2(&writer->format, nullptr, "avi", path) < 0) {
        freeWriter(writer);
        return nullptr;
    }
    writer->video = openVideo(writer, microSecPerFrame);
    writer->videoStream = avformat_new_stream(writer->format, nullptr);
    if (!writer->video || !writer->videoStream
        || avcodec_parameters_from_context(writer->videoStream->codecpar, writer->video) < 0) {
        freeWriter(writer);
        return nullptr;
    }
    writer->videoStream->time_base = writer->video->time_base;
    writer->videoStream->avg_frame_rate = writer->video->framerate;
    writer->videoStream->r_frame_rate = writer->video->framerate;
    if (audioRate > 0) {
        writer->audio = openAudio(audioRate, audioChannels, audioBits);
        writer->blockAlign = audioChannels * audioBits / 8;
        writer->audioStream = avformat_new_stream(writer->format, nullptr);
        if (!writer->audio || !writer->audioStream
            || avcodec_parameters_from_context(writer->audioStream->codecpar, writer->audio) < 0) {
            freeWriter(writer);
            return nullptr;
        }
        writer->audioStream->time_base = writer->audio->time_base;
        writer->sound = av_frame_alloc();
    }
    writer->frame = av_frame_alloc();
    writer->packet = av_packet_alloc();
    writer->scaler = sws_getContext(width, height, AV_PIX_FMT_RGB24, width, height,
        AV_PIX_FMT_YUVJ420P, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!writer->frame || !writer->packet || !writer->scaler) {
        freeWriter(writer);
        return nullptr;
    }
    writer->frame->format = AV_PIX_FMT_YUVJ420P;
    writer->frame->width = width;
    writer->frame->height = height;
    if (av_frame_get_buffer(writer->frame, 0) < 0
        || avio_open(&writer->format->pb, path, AVIO_FLAG_WRITE) < 0) {
        freeWriter(writer);
        return nullptr;
    }
    if (avformat_write_header(writer->format, nullptr) < 0) {
        *result = GlimmerixWriteFailed;
        freeWriter(writer);
        return nullptr;
    }
    writer->headerWritten = true;
    *result = GlimmerixWriteOk;
    return writer;
}

int writeVideo(GlimmerixClipWriter *writer, const unsigned char *rgb, int stride, long long number)
{
    if (writer->failed)
        return GlimmerixWriteFailed;
    if (av_frame_make_writable(writer->frame) < 0) {
        writer->failed = true;
        return GlimmerixWriteFailed;
    }
    const uint8_t *planes[4] = { rgb, nullptr, nullptr, nullptr };
    const int strides[4] = { stride, 0, 0, 0 };
    sws_scale(writer->scaler, planes, strides, 0, writer->height, writer->frame->data,
        writer->frame->linesize);
    writer->frame->pts = number;
    const int result = encode(writer, writer->video, writer->videoStream, writer->frame);
    writer->failed = result != GlimmerixWriteOk;
    return result;
}

int writeAudio(GlimmerixClipWriter *writer, const unsigned char *blocks, int count)
{
    if (writer->failed)
        return GlimmerixWriteFailed;
    if (!writer->audio || count <= 0)
        return GlimmerixWriteOk;
    AVFrame *sound = writer->sound;
    av_frame_unref(sound);
    sound->format = writer->audio->sample_fmt;
    sound->sample_rate = writer->audio->sample_rate;
    if (av_channel_layout_copy(&sound->ch_layout, &writer->audio->ch_layout) < 0) {
        writer->failed = true;
        return GlimmerixWriteFailed;
    }
    sound->nb_samples = count;
    if (av_frame_get_buffer(sound, 0) < 0) {
        writer->failed = true;
        return GlimmerixWriteFailed;
    }
    std::memcpy(sound->data[0], blocks, size_t(count) * size_t(writer->blockAlign));
    sound->pts = writer->samplesWritten;
    writer->samplesWritten += count;
    const int result = encode(writer, writer->audio, writer->audioStream, sound);
    writer->failed = result != GlimmerixWriteOk;
    return result;
}

int closeWriter(GlimmerixClipWriter *writer)
{
    int result = writer->failed ? GlimmerixWriteFailed : GlimmerixWriteOk;
    // Whatever happened before, the frames written so far get their index.
    if (encode(writer, writer->video, writer->videoStream, nullptr) != GlimmerixWriteOk)
        result = GlimmerixWriteFailed;
    if (writer->audio
        && encode(writer, writer->audio, writer->audioStream, nullptr) != GlimmerixWriteOk)
        result = GlimmerixWriteFailed;
    if (writer->headerWritten && av_write_trailer(writer->format) < 0)
        result = GlimmerixWriteFailed;
    if (writer->format->pb) {
        avio_flush(writer->format->pb);
        if (writer->format->pb->error < 0)
            result = GlimmerixWriteFailed;
        if (avio_closep(&writer->format->pb) < 0)
            result = GlimmerixWriteFailed;
    }
    freeWriter(writer);
    return result;
}

const GlimmerixClipWriterApi kWriterApi = { openWriter, writeVideo, writeAudio, closeWriter };

} // namespace
} // namespace glimmerix

extern "C" __attribute__((visibility("default"))) const GlimmerixClipWriterApi *
glimmerixClipWriterApi()
{
    return &glimmerix::kWriterApi;
}
