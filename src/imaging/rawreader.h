#pragma once

#include "imagecodes.h"
#include "mediareader.h"

#include <QString>

#include <span>

namespace glimmerix
{

// Camera RAW files (NEF, CR2, CR3, ARW, DNG, ORF, RW2, RAF, PEF, SRW and whatever else LibRaw
// reads) as 24-bit picture blocks, turned upright by the camera's orientation.
//
// For a thumbnail the preview the camera stored in the file is used (JPEG or bitmap) when its
// long side is at least kRawPreviewMinSide; otherwise, and for the full picture, the sensor data
// is demosaiced at 8 bits with the camera's white balance (a thumbnail at half size, which is
// plenty for it and four times less work). The dimensions the file claims are checked against
// the picture byte limit before LibRaw unpacks anything. Ok with the block, or why not in words
// that follow "FILE: ". Safe on several threads at once. `fullSize`, when given, receives the
// upright size of the whole picture, which a preview read for a thumbnail is smaller than.
DecodeResult loadCameraRaw(
    const QString &path, PictureUse use, MediaPictureSize *fullSize = nullptr);
// The same from bytes already in memory (the fuzz target).
DecodeResult decodeCameraRaw(std::span<const unsigned char> bytes, PictureUse use,
    MediaPictureSize *fullSize = nullptr);

// The smallest long side of a preview that stands in for the picture in a thumbnail.
inline constexpr int kRawPreviewMinSide = 160;

} // namespace glimmerix
