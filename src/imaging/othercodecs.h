#pragma once

#include "imagecodes.h"

#include <QString>

namespace glimmerix
{

// The TIFF, PCX and Targa codecs, as the image file layer and the imaging library call them.
// Readers return an image block, or 0 / -1 / -2 with the image layer's meanings and show the
// open-failure and out-of-memory messages; writers return 1 written, 0 failed, 2 unsuitable, 3
// cannot create (message 54009).

BlockHandle ReadTiffFile(const QString &path);
int WriteTiffFile(const QString &path, BlockHandle block);
BlockHandle ReadPcxFile(const QString &path);
int WritePcxFile(const QString &path, BlockHandle block);
BlockHandle ReadTgaFile(const QString &path);
int WriteTgaFile(const QString &path, BlockHandle block);

// The same readers and writers without any message: the status and its detail, for callers
// that report in their own way (the imaging library, the command-line tool, batch work).
DecodeResult loadTiffFile(const QString &path);
DecodeResult loadPcxFile(const QString &path);
DecodeResult loadTgaFile(const QString &path);
WriteResult saveTiffFile(const QString &path, BlockHandle block);
WriteResult savePcxFile(const QString &path, BlockHandle block);
WriteResult saveTgaFile(const QString &path, BlockHandle block);

} // namespace glimmerix
