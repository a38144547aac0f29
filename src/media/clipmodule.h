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
}

namespace glimmerix
{

inline constexpr const char *kClipModuleName = "glimix-clip.so";
inline constexpr const char *kClipEntryName = "glimmerixReadFirstFrame";

} // namespace glimmerix
