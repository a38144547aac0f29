#pragma once

#include "blockmemory.h"

#include <QString>

// The TIFF, PCX and Targa codecs, as the image file layer and the imaging library call them.
// Readers return an image block, or 0 / -1 / -2 / -3 with the image layer's meanings; writers
// return 1 written, 0 failed, 2 unsuitable, 3 cannot create.

BlockHandle ReadTiffFile(const QString &path);
int WriteTiffFile(const QString &path, BlockHandle block);
BlockHandle ReadPcxFile(const QString &path);
int WritePcxFile(const QString &path, BlockHandle block);
BlockHandle ReadTgaFile(const QString &path);
int WriteTgaFile(const QString &path, BlockHandle block);
