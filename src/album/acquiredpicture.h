#pragma once

#include "imaging/blockmemory.h"

namespace glimmerix
{

class CAlbumDoc;
struct AcquireSettings;

// What becomes of a picture that arrives from a scanner: its header completed, saved under the
// next acquired-file name and added to the end of `document`. Takes the block; 0 (a failed or
// cancelled transfer) adds nothing. Returns 1 when an item was added.
int addAcquiredPicture(CAlbumDoc &document, BlockHandle picture, const AcquireSettings &settings);

} // namespace glimmerix
