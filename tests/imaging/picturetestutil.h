#pragma once

#include "support/testenvironment.h"

#include "imaging/blockmemory.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

using namespace glimmerix;

// A picture as plain top-down RGB (or grey) samples, for comparing image blocks with reference
// decodings.
struct SamplePicture {
    int width = 0;
    int height = 0;
    int channels = 3; // 3 RGB, 1 grey
    std::vector<std::uint8_t> samples;

    bool operator==(const SamplePicture &) const = default;
};

// Reads a binary PPM (P6), PGM (P5) or PBM (P4, as grey 0 and 255) file; an empty picture when it
// cannot.
SamplePicture readPnm(const QString &path);
// The pixels of an image block, top row first: palette pictures through their table (RGB), 24-bit
// as RGB, greyscale-class blocks as one channel when `keepGrey`.
SamplePicture blockPixels(BlockHandle block, bool keepGrey = false);
// A 24-bit (or 8-bit with `table`) block filled from top-down RGB samples.
BlockHandle makeRgbBlock(int width, int height, const std::vector<std::uint8_t> &rgb);
// An 8-bit block with a 256-entry table (grey when `grey`, else a colour ramp) and the given
// top-down indices.
BlockHandle makeIndexedBlock(
    int width, int height, const std::vector<std::uint8_t> &indices, bool grey);
// The bytes of a file (empty when it cannot be read), and writing bytes to a file.
// Path of a fixture of this suite.
QString imagingFixture(const QString &name);
