#pragma once

#include "blockmemory.h"

#include <QString>

#include <array>
#include <cstdint>

namespace glimmerix
{

// The live colour adjustments of the picture window, driven by one slider position 0..256 (128 is
// the neutral point of brightness, contrast and saturation; 0 of sharpness). Each adjustment reads
// a picture and makes a new one; the source block is never changed. A result of 0 means "no
// preview": a neutral setting, a picture depth the adjustment does not handle, or no memory.

inline constexpr int kSliderMaximum = 256;
inline constexpr int kSliderNeutral = 128;

enum class Adjustment { Brightness, Contrast, Saturation, Sharpness };

// The slider position limited to 0..256; for the centred adjustments 127 and 129 count as 128, so
// the neutral point is easy to hit with the mouse.
int effectiveSliderPosition(Adjustment adjustment, int position);
// Where the slider stands when the adjustment is chosen or undone: 0 for sharpness, else 128.
int neutralSliderPosition(Adjustment adjustment);
// The value text beside the slider: -100..100 for the centred adjustments, 0..100 for sharpness.
QString sliderValueText(Adjustment adjustment, int position);

using LevelTable = std::array<std::uint8_t, 256>;

// The level table for a brightness shift `shift` and a contrast `contrast` (both -128..128): the
// input level plus the shift, with the levels `contrast`..255-`contrast` stretched over 0..255
// (or, for a negative contrast, the whole range compressed toward the middle).
LevelTable levelTable(int shift, int contrast);
// A copy of `block` with every colour passed through `table`: the pixels of 24-bit and greyscale
// pictures, the colour table of other 8-bit and of 4-bit pictures. 0 for other depths. A
// `spare` block (taken over) may be filled instead of new memory (see blockShapedLike).
BlockHandle applyLevelTable(BlockHandle block, const LevelTable &table, BlockHandle spare = 0);

// Saturation in percent for a slider position: 0..200, 100 leaving colours as they are.
int saturationPercent(int position);
// One colour at saturation `percent`: each channel moves toward (below 100) or away from (above
// 100) the colour's largest channel; greys stay. Channels are blue, green, red in place.
struct SaturationTables {
    std::array<int, 256> k; // the largest channel's share, 7 fractional bits
    std::array<int, 256> m; // the channel's own share, 7 fractional bits
};
SaturationTables saturationTables(int percent);
void saturateColour(const SaturationTables &tables, std::uint8_t *bgr);
// A copy of `block` at saturation `percent` (24-bit pixels; the table of 8- and 4-bit pictures).
BlockHandle applySaturation(BlockHandle block, int percent, BlockHandle spare = 0);

// The preview for `adjustment` at slider `position`, or 0 for no preview. Sharpness takes 24-bit
// pictures only. `spare` (taken over): the previous preview, filled again when it fits.
BlockHandle adjustPicture(
    BlockHandle block, Adjustment adjustment, int position, BlockHandle spare = 0);

} // namespace glimmerix
