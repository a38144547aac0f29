#include "imagefile.h"

#include "imagecodes.h"
#include "picturetypes.h"

#include "platform/host.h"

namespace glimmerix
{

BlockHandle LoadImageFile(const QString &path)
{
    const PictureType *type = pictureTypeOf(path);
    const BlockHandle result = type ? type->open(path) : kReadFailed;
    if (result == kReadFailed) {
        host().showMessage(kMsgCannotOpenPicture);
        return 0;
    }
    if (!isBlockHandle(result))
        return 0;
    return result;
}

int SaveImageFile(BlockHandle block, const QString &path)
{
    const PictureType *type = pictureTypeOf(path);
    if (type == nullptr || type->save == nullptr)
        return kWriteFailed;
    return type->save(block, path);
}

} // namespace glimmerix
