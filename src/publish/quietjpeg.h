#pragma once

#include "imaging/imagecodes.h"

#include <QString>

namespace glimmerix
{

// JPEG reading and writing for the web album's workers: neither touches the picture layer's
// shared state (no messages, no status), so several threads may call them at once.

// The cause of the last failed system call: "disk full", or the system's text.
QString systemCause();

// Reads the JPEG at `path`; a partly decoded picture is dropped and the cause given.
DecodeResult readJpegQuietly(const QString &path);

// Writes `block` as a JPEG of `quality` (1-100). Empty on success, else the cause; a partly
// written file is removed.
QString writeJpegQuietly(const QString &path, BlockHandle block, int quality);

} // namespace glimmerix
