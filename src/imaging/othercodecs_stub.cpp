// Placeholders until the TIFF, PCX and Targa codecs are built: every call fails cleanly.

#include "othercodecs.h"

BlockHandle ReadTiffFile(const QString &)
{
    return 0;
}

int WriteTiffFile(const QString &, BlockHandle)
{
    return 0;
}

BlockHandle ReadPcxFile(const QString &)
{
    return 0;
}

int WritePcxFile(const QString &, BlockHandle)
{
    return 0;
}

BlockHandle ReadTgaFile(const QString &)
{
    return 0;
}

int WriteTgaFile(const QString &, BlockHandle)
{
    return 0;
}
