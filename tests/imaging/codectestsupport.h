#pragma once

#include "support/testenvironment.h"

#include "imaging/blockmemory.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <ostream>
#include <vector>

using namespace glimmerix;

// Helpers for the codec tests: pictures as plain top-down RGB pixels, netpbm references,
// image blocks built in memory, and the external tools used to cross-check written files.

using Rgb = std::array<std::uint8_t, 3>;

struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels; // top row first

    bool operator==(const RgbPicture &) const = default;
};
// Prints size and the first differing-looking pixels in test failure messages.
void PrintTo(const RgbPicture &picture, std::ostream *out);

// A binary netpbm file (P4, P5 or P6) of the codec fixtures.
RgbPicture readNetpbm(const QString &path);
QString codecFixture(const QString &name);
// The pixels of an image block, through its colour table for palette pictures.
RgbPicture blockPicture(BlockHandle block);
// Bytes of a whole file (empty when it cannot be read) and writing bytes to a file.

// An image block of `bitCount` bits with `colours` table entries given by `colour(i)` and pixel
// values (indexes, or 0xRRGGBB for 24-bit) given by `pixel(x, y)`, y counted from the top.
BlockHandle makeBlock(int width, int height, int bitCount, int colours,
    const std::function<Rgb(int)> &colour, const std::function<std::uint32_t(int, int)> &pixel);
// A grey ramp entry i = i, i, i.
Rgb greyEntry(int i);

// Runs an installed tool; false when it is missing or fails. `output` gets its standard output.
bool toolAvailable(const QString &program);
bool runTool(const QString &program, const QStringList &arguments, QByteArray *output = nullptr);
// Pixels of `path` as ImageMagick decodes them (through a PPM), or an empty picture.
RgbPicture decodeWithImageMagick(const QString &path);
