#pragma once

#include <QString>

class QWidget;

namespace glimmerix
{

// Opens a clip or sound of today (known by its content: MP4, M4V, MKV, WebM, 3GP, MTS; MP3 in
// another name, Ogg, Opus, FLAC, M4A) in the program's own window: a clip in a new clip window
// over `parent`, which plays it once; a sound in the sound window, made once and reused. Both
// play through Qt Multimedia's FFmpeg backend, so whatever FFmpeg decodes plays. Returns false,
// doing nothing, for any other file, the album's own clip and sound names (.AVI .MOV .MPG .MPEG
// .WAV .MP3) included: those keep opening in the desktop's program for them.
bool playInMediaWindow(const QString &path, QWidget *parent);

} // namespace glimmerix
