#pragma once

#include <QSize>

namespace glimmerix
{

// The picture window's zoom: a signed step from -16 to 16. Step z >= 0 shows every pixel as
// (z + 1) x (z + 1) pixels; step z < 0 shows every (1 - z)th pixel.

inline constexpr int kZoomMinimum = -16;
inline constexpr int kZoomMaximum = 16;

// The shown size of a `picture` at `zoom` (at least 1 x 1).
QSize zoomedSize(QSize picture, int zoom);
// The zoom one step in (`direction` 1) or out (-1) from `zoom`; `zoom` itself past the limits.
int steppedZoom(int zoom, int direction);
// The largest step from 0 down at which `picture` fits `room` (0 when it fits as it is).
int fittingZoom(QSize picture, QSize room);

} // namespace glimmerix
