#pragma once

#include "imagecodes.h"

#include <QString>

class QIODevice;

namespace glimmerix
{

// Windows bitmap files: 1, 4, 8 and 24 bits, uncompressed, RLE8 and RLE4; the 12-byte core
// header and the 40-byte header (and the later versions that extend it).

// Reads the bitmap at `path` into a new image block. A path without '/' is taken relative to the
// program's resource folder. Results: the block; 0 failed (bad or unsupported file, no memory);
// -1 not a bitmap; -2 cannot open, short read or Escape. Shows the open-failure message unless
// the quiet switch is on, and 54001 when the block cannot be had or is beyond the size limit.
BlockHandle ReadBmpFile(const QString &path);
// Writes `block` as a bitmap. Results: 1 written; 0 failed (cannot create, write error, bad
// block); 2 no block or Escape.
int WriteBmpFile(const QString &path, BlockHandle block);

// The same without messages, for callers that report themselves: the status and its detail.
// `path` is used as given.
DecodeResult loadBmpFile(const QString &path);
WriteResult saveBmpFile(const QString &path, BlockHandle block);

// The decoder behind ReadBmpFile, reading from `device` at its current position. With
// `interactive` it polls Escape and reports progress; it never shows a message.
DecodeResult readBmp(QIODevice &device, bool interactive);

} // namespace glimmerix
