#pragma once

#include "imagecodes.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace glimmerix
{

// The TIFF codec: a small baseline reader of its own (uncompressed and LZW strips, first image
// file directory), a libtiff reader for CCITT Group 4 bilevel files, and a fixed-layout writer.

// A first directory with more entries than this is refused.
inline constexpr int kTiffMaxEntries = 26;

enum TiffTag : std::uint16_t {
    kTagImageWidth = 256,
    kTagImageLength = 257,
    kTagBitsPerSample = 258,
    kTagCompression = 259,
    kTagPhotometric = 262,
    kTagThreshholding = 263,
    kTagDocumentName = 269,
    kTagMake = 271,
    kTagStripOffsets = 273,
    kTagSamplesPerPixel = 277,
    kTagRowsPerStrip = 278,
    kTagStripByteCounts = 279,
    kTagXResolution = 282,
    kTagYResolution = 283,
    kTagPlanarConfiguration = 284,
    kTagResolutionUnit = 296,
    kTagPredictor = 317,
    kTagColorMap = 320,
};

enum TiffType : std::uint16_t {
    kTypeByte = 1,
    kTypeAscii = 2,
    kTypeShort = 3,
    kTypeLong = 4,
    kTypeRational = 5,
};

inline constexpr int kCompressionNone = 1;
inline constexpr int kCompressionGroup4 = 4;
inline constexpr int kCompressionLzw = 5;

// Where an array of values lies: its element type, its count and its file position.
struct TiffArray {
    std::uint16_t type = 0;
    std::uint32_t count = 0;
    std::uint64_t position = 0;
};

// What the reader takes from the first image file directory, with the defaults it assumes.
struct TiffDirectory {
    bool bigEndian = false;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int bitsPerSample = 1;
    int compression = kCompressionNone;
    int photometric = 1;
    bool ricoh = false;
    TiffArray stripOffsets;
    int samplesPerPixel = 1;
    std::uint32_t rowsPerStrip = 0; // 0 until set; the parser then turns 0 into the height
    TiffArray stripByteCounts;
    std::uint32_t xDotsPerInch = 0;
    std::uint32_t yDotsPerInch = 0;
    int planarConfiguration = 1;
    int resolutionUnit = 0;
    int predictor = 1;
    TiffArray colorMap; // count = number of 16-bit values (three per colour)
};

// Parses the header and the first directory of `file`. Returns 1 for little-endian files, 2 for
// big-endian ones, 0 when the byte-order mark is wrong, the directory lies outside the file or
// holds more than kTiffMaxEntries entries.
int parseTiffDirectory(const QByteArray &file, TiffDirectory &directory);

// TIFF LZW decoder state over one strip: MSB-first codes of 9 to 12 bits with the early width
// change. Decoded bytes are handed out through `sink` (called with a pointer and a length).
// Returns false when a code refers beyond the table (a corrupt or hostile strip); stops at the
// end-of-information code, at the end of the input or when `sink` returns false.
class TiffLzwSink
{
public:
    virtual ~TiffLzwSink() = default;
    virtual bool put(const unsigned char *bytes, std::size_t count) = 0;
};
bool decodeTiffLzw(const unsigned char *data, std::size_t size, TiffLzwSink &sink);

// Converts one row of Ricoh YCbCr 4:2:2 samples (groups Y0 Y1 Cb Cr for two pixels) of
// `width` pixels into blue, green, red pixels in `target` (width × 3 bytes).
void convertRicohRow(const unsigned char *source, int width, unsigned char *target);

// The own reader: Ok with an image block, or the failure; Group 4 files give a result for which
// needsLibtiff is true.
DecodeResult readTiffOwn(const QString &path);
bool needsLibtiff(const DecodeResult &result);
// The own reader over bytes already in memory (no current path).
DecodeResult decodeTiff(const QByteArray &file);
// The libtiff reader: Ok with an image block, or the failure.
DecodeResult readTiffWithLibtiff(const QString &path);

} // namespace glimmerix
