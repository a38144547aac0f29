#include "imagefile.h"

#include "bmpcodec.h"
#include "imagecodes.h"
#include "imageconvert.h"
#include "jpegcodec.h"
#include "mediatypes.h"
#include "othercodecs.h"
#include "picturestate.h"
#include "pixkit.h"

#include "platform/host.h"
#include "platform/paths.h"
#include "platform/strings.h"

namespace
{

constexpr int kJpegSaveQuality = 90;

BlockHandle readByType(const QString &path, const QString &extension, bool *known)
{
    *known = true;
    if (extension == QLatin1String(".BMP"))
        return ReadBmpFile(path);
    if (extension == QLatin1String(".TIF"))
        return ReadTiffFile(path);
    if (extension == QLatin1String(".PCX"))
        return ReadPcxFile(path);
    if (extension == QLatin1String(".TGA"))
        return ReadTgaFile(path);
    if (extension == QLatin1String(".JPG"))
        return ReadJpegFile(path);
    if (extension == QLatin1String(".PCD")) {
        const PhotoCdOptions options = photoCdOptions();
        return PkOpenFile(path, 0, &options);
    }
    if (extension == QLatin1String(".FPX"))
        return PkOpenFile(path, 0, nullptr);
    if (extension == QLatin1String(".QSF"))
        return PkLoadQsfFile(path, kQsfBackgroundWhite);
    *known = false;
    return 0;
}

int saveJpeg(BlockHandle block, const QString &path)
{
    WaitCursor wait;
    if (ClassifyImage(block) == kClassTrueColor)
        return WriteJpegFile(path, block, kJpegSaveQuality);
    OwnedBlock copy(ExpandTo24Bit(block));
    if (!copy) {
        host().showMessage(kMsgNo24BitCopy);
        return kWriteFailed;
    }
    return WriteJpegFile(path, copy.handle(), kJpegSaveQuality);
}

// Photo CD cannot be written: offer the same picture as a ".jpg" file instead.
int saveInsteadOfPhotoCd(BlockHandle block, const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    const qsizetype dot = path.lastIndexOf(u'.');
    const QString baseName = path.mid(slash + 1, dot > slash ? dot - slash - 1 : -1);
    SaveFileQuestion question;
    question.proposedPath = joinPath(pictureSaveFolder(), baseName + QStringLiteral(".jpg"));
    question.filter = loadString(kStrJpegSaveFilter);
    const QString chosen = host().askSaveFileName(question);
    if (chosen.isEmpty())
        return kWriteFailed;
    WaitCursor wait;
    // A name typed without the default extension gets it, as a save dialog would add it.
    const QString target
        = GetFileExtension(chosen).isEmpty() ? chosen + QStringLiteral(".jpg") : chosen;
    if (target.right(4).toUpper() == QLatin1String(".PCD"))
        return kWriteFailed;
    return SaveImageFile(block, target);
}

} // namespace

BlockHandle LoadImageFile(const QString &path)
{
    bool known = false;
    const BlockHandle result = readByType(path, upperExtension(path), &known);
    if (!known || result == kReadFailed) {
        host().showMessage(kMsgCannotOpenPicture);
        return 0;
    }
    if (!isBlockHandle(result))
        return 0;
    return result;
}

int SaveImageFile(BlockHandle block, const QString &path)
{
    const QString type = path.right(4).toUpper();
    if (type == QLatin1String(".JPG"))
        return saveJpeg(block, path);
    if (type == QLatin1String(".PCD"))
        return saveInsteadOfPhotoCd(block, path);
    if (type == QLatin1String(".FPX"))
        return PkSaveFile(block, path, 0, 0) == 0 ? kWriteDone : kWriteFailed;
    WaitCursor wait;
    if (type == QLatin1String(".BMP"))
        return WriteBmpFile(path, block);
    if (type == QLatin1String(".TIF"))
        return WriteTiffFile(path, block);
    if (type == QLatin1String(".PCX"))
        return WritePcxFile(path, block);
    if (type == QLatin1String(".TGA"))
        return WriteTgaFile(path, block);
    return kWriteFailed;
}
