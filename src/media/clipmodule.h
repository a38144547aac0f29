#pragma once

// The C interface of the clip module, glimix-clip.so: the only code that links FFmpeg. It is
// loaded with dlopen the first time a clip's frame is wanted (firstframe.cpp), so that programs
// and commands that never touch a clip do not load FFmpeg and its codec libraries.

extern "C" {

// Asked for a `width` x `height` 24-bit BGR picture: returns where its top row goes and sets
// `stride` to the distance from one row to the next (negative for bottom-up rows), or returns
// null to refuse the picture.
typedef unsigned char *(*GlimmerixFrameTarget)(void *context, int width, int height, int *stride);

// What glimmerixReadFirstFrame found.
enum GlimmerixClipResult {
    GlimmerixClipOk = 0,
    GlimmerixClipCannotOpen = 1,
    GlimmerixClipNoVideoStream = 2,
    GlimmerixClipNoFrame = 3,
};

// Decodes the first video frame of the clip at `path` (file-system encoding) into the picture
// `target` hands out. The module exports this under kClipEntryName.
typedef int (*GlimmerixReadFirstFrame)(
    const char *path, GlimmerixFrameTarget target, void *context);
// The same, also setting `clockwise` to the quarter turn (0, 90, 180 or 270 degrees) the clip's
// display rotation asks for, so that a phone clip filmed upright is shown upright. The frame
// itself is drawn as stored. The module exports this under kClipTurnedEntryName.
typedef int (*GlimmerixReadTurnedFirstFrame)(
    const char *path, GlimmerixFrameTarget target, void *context, int *clockwise);

// The quarter turn (0, 90, 180 or 270 degrees clockwise) the display rotation of the clip at
// `path` asks for; 0 without one, or when the clip cannot be read. The module exports this under
// kClipTurnEntryName.
typedef int (*GlimmerixClipDisplayTurn)(const char *path);

// Copies the clip's creation time as its container (or else its first stream that has one)
// tags it, FFmpeg's "creation_time" text such as "2021-06-01T12:30:00.000000Z", into `text`
// (at most `size` bytes with the closing zero). Returns 1 when there is one, 0 when the clip has
// none or cannot be read. The module exports this under kClipCreationTimeEntryName.
typedef int (*GlimmerixClipCreationTime)(const char *path, char *text, int size);

// 1 when every current web browser plays the clip at `path` as it is (H.264/AAC in MP4, WebM),
// else 0 (also when it cannot be read). The module exports this under kClipBrowserEntryName.
typedef int (*GlimmerixClipBrowserPlays)(const char *path);

// Writing an AVI clip (Motion-JPEG video, 8- or 16-bit PCM sound) frame by frame.
typedef struct GlimmerixClipWriter GlimmerixClipWriter;

enum GlimmerixWriteResult {
    GlimmerixWriteOk = 0,
    GlimmerixWriteCannotCreate = 1, // the file or the encoder could not be set up
    GlimmerixWriteFailed = 2, // writing failed (a full disk, a removed drive)
};

struct GlimmerixClipWriterApi {
    // Creates the AVI file at `path` for `width` x `height` frames, one every `microSecPerFrame`
    // microseconds, with a PCM sound track of `audioRate` samples per second, `audioChannels`
    // channels and `audioBits` bits (8: unsigned, 16: signed little-endian); `audioRate` 0 for
    // no sound. Null on failure with `result` set.
    GlimmerixClipWriter *(*open)(const char *path, int width, int height,
        long long microSecPerFrame, int audioRate, int audioChannels, int audioBits, int *result);
    // Adds the 24-bit RGB frame (top row first, rows `stride` bytes apart) as frame `number`.
    int (*writeVideo)(
        GlimmerixClipWriter *writer, const unsigned char *rgb, int stride, long long number);
    // Adds `count` sample blocks (one sample of every channel, interleaved) of sound.
    int (*writeAudio)(GlimmerixClipWriter *writer, const unsigned char *blocks, int count);
    // Finishes the file (its index) and frees the writer; the result of the whole write.
    int (*close)(GlimmerixClipWriter *writer);
};
// The module exports this under kClipWriterEntryName.
typedef const struct GlimmerixClipWriterApi *(*GlimmerixClipWriterEntry)(void);
}

namespace glimmerix
{

inline constexpr const char *kClipModuleName = "glimix-clip.so";
inline constexpr const char *kClipEntryName = "glimmerixReadFirstFrame";
inline constexpr const char *kClipTurnedEntryName = "glimmerixReadTurnedFirstFrame";
inline constexpr const char *kClipTurnEntryName = "glimmerixClipDisplayTurn";
inline constexpr const char *kClipCreationTimeEntryName = "glimmerixClipCreationTime";
inline constexpr const char *kClipBrowserEntryName = "glimmerixClipBrowserPlays";
inline constexpr const char *kClipWriterEntryName = "glimmerixClipWriterApi";

} // namespace glimmerix
