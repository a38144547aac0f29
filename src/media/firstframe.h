#pragma once

#include "imaging/blockmemory.h"

#include <QString>

namespace glimmerix
{

// The first video frame of a clip (AVI, MPEG, QuickTime ...) read through FFmpeg, as a new
// 24-bit image block.
enum class FirstFrameResult { Ok, CannotOpen, NoVideoStream, NoFrame };

struct FirstFrame {
    FirstFrameResult result = FirstFrameResult::CannotOpen;
    BlockHandle block = 0; // owned by the caller when result is Ok
};

FirstFrame readFirstVideoFrame(const QString &path);
// The first frame turned as the clip's display rotation says (a phone clip filmed upright comes
// out upright). A clip without a rotation gives the same frame as readFirstVideoFrame.
FirstFrame readUprightFirstFrame(const QString &path);
// The quarter turn clockwise (0, 90, 180, 270) the clip's display rotation asks for; 0 without
// one or when the clip cannot be read. The clip window turns its frames by it.
int clipDisplayTurn(const QString &path);

// True when every current web browser plays the clip as it is (H.264/AAC in MP4, WebM), as
// FFmpeg reads its container and codecs; false otherwise or when it cannot be read. The web
// album copies such clips to be played and offers the others for download.
bool browserPlaysClip(const QString &path);

// The first frame of an MPEG clip as a new image block, or 0 when it cannot be read (no message).
BlockHandle GetFirstMpegFrame(const QString &path);

} // namespace glimmerix
