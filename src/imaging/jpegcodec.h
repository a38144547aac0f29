#pragma once

#include "imagecodes.h"

#include <QString>

#include <cstdio>

namespace glimmerix
{

// JPEG files through libjpeg's classic interface.

// Reads the JPEG at `path` into a new 24-bit (colour) or 8-bit greyscale image block. Results:
// the block; 0 failed (not 1 or 3 components, library error before any pixel, Escape, no
// memory); -2 cannot open (the open-failure message is shown even while quiet). A library
// error after the block exists returns the block as far as it was decoded.
BlockHandle ReadJpegFile(const QString &path);
// Writes a greyscale (one component) or 24-bit block at `quality` (0-100). Results: 1 written;
// 0 library error; 2 unsuitable class (message 54029) or Escape; 3 cannot create (message 54009).
int WriteJpegFile(const QString &path, BlockHandle block, int quality);

// The same without messages, for callers that report themselves: the status and its detail
// (a late library error: Failed with the partly decoded block).
DecodeResult loadJpegFile(const QString &path);
WriteResult saveJpegFile(const QString &path, BlockHandle block, int quality);

// The decoder behind ReadJpegFile, reading `file` from its current position. Ok with the block;
// a late library error gives Failed together with the partly decoded block. libjpeg's warnings
// and errors never reach the terminal; the error text becomes the detail.
DecodeResult readJpeg(std::FILE *file, bool interactive);
// The encoder behind WriteJpegFile: writes a class 1 or 2 block to `file`.
WriteResult writeJpeg(std::FILE *file, BlockHandle block, int quality, bool interactive);

} // namespace glimmerix
