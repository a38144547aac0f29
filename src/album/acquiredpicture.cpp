#include "acquiredpicture.h"

#include "importer.h"
#include "media/scanbitmap.h"

namespace glimmerix
{

int addAcquiredPicture(CAlbumDoc &document, BlockHandle picture, const AcquireSettings &settings)
{
    if (!isBlockHandle(picture))
        return 0;
    const OwnedBlock owned(picture);
    completeAcquiredHeader(picture);
    return addInMemoryPicture(document, picture, settings);
}

} // namespace glimmerix
