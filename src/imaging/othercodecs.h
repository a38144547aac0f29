#pragma once

#include "blockmemory.h"

#include <QString>

// Readers and writers for TIFF, PCX and Targa pictures, called by the image file layer.
BlockHandle ReadTiffFile(const QString &path);  // image block, or 0 / -1 / -2 / -3 as the image layer's codes
int WriteTiffFile(const QString &path, BlockHandle block);  // 1 written, 0 failed, 2 unsuitable, 3 cannot create
BlockHandle ReadPcxFile(const QString &path);
int WritePcxFile(const QString &path, BlockHandle block);
BlockHandle ReadTgaFile(const QString &path);
int WriteTgaFile(const QString &path, BlockHandle block);
