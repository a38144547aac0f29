#include "imagefile.h"

#include "imagecodes.h"
#include "mediareader.h"
#include "picturetypes.h"

#include "platform/host.h"
#include "platform/strings.h"

namespace glimmerix
{

BlockHandle LoadImageFile(const QString &path)
{
    const PictureType *type = pictureTypeOf(path);
    const BlockHandle result = type ? type->open(path) : kReadFailed;
    if (result == kReadFailed) {
        host().showMessage(Message::kPictureUnreadable);
        return 0;
    }
    if (!isBlockHandle(result))
        return 0;
    return result;
}

BlockHandle openMediaPictureFile(const MediaFile &file)
{
    if (file.isAlbumPictureType())
        return LoadImageFile(file.path);
    DecodeResult read = loadMediaPicture(file, PictureUse::Full);
    OwnedBlock block(read.block);
    if (read.status == DecodeStatus::Ok)
        return block.release();
    host().showText(loadString(Message::kPictureUnreadable) + QStringLiteral("\n") + file.path
            + QStringLiteral(": ") + read.detail,
        MessageIcon::Warning, MessageButtons::Ok, Message::kPictureUnreadable);
    return 0;
}

int SaveImageFile(BlockHandle block, const QString &path)
{
    const PictureType *type = pictureTypeOf(path);
    if (type == nullptr || type->save == nullptr)
        return kWriteFailed;
    return type->save(block, path);
}

} // namespace glimmerix
