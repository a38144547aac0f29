#include "picturetypes.h"

#include "bmpcodec.h"
#include "imageconvert.h"
#include "imagefile.h"
#include "jpegcodec.h"
#include "mediatypes.h"
#include "othercodecs.h"
#include "photocd.h"
#include "picturestate.h"
#include "picturestatus.h"
#include "pixkit.h"

#include "platform/host.h"
#include "platform/paths.h"
#include "platform/strings.h"

#include <QFile>

#include <array>
#include <utility>

namespace glimmerix
{

namespace
{

constexpr int kJpegSaveQuality = 90;

// Pictures other than 24-bit ones are saved as JPEG through a 24-bit copy (the caller's block
// stays). `block` is 0 when no copy could be made.
struct JpegSource {
    OwnedBlock copy;
    BlockHandle block = 0;
};
JpegSource jpegSource(BlockHandle block)
{
    JpegSource source;
    if (ClassifyImage(block) == kClassTrueColor) {
        source.block = block;
        return source;
    }
    source.copy.reset(ExpandTo24Bit(block));
    source.block = source.copy.handle();
    return source;
}

int saveJpeg(BlockHandle block, const QString &path)
{
    WaitCursor wait;
    const JpegSource source = jpegSource(block);
    if (!isBlockHandle(source.block)) {
        host().showMessage(Message::kNo24BitCopy);
        return kWriteFailed;
    }
    return WriteJpegFile(path, source.block, kJpegSaveQuality);
}

WriteResult writeJpeg(BlockHandle block, const QString &path)
{
    const JpegSource source = jpegSource(block);
    if (!isBlockHandle(source.block))
        return writeFailure(DecodeStatus::NoMemory, QStringLiteral("no 24-bit copy could be made"));
    return saveJpegFile(path, source.block, kJpegSaveQuality);
}

// Photo CD cannot be written: offer the same picture as a ".jpg" file instead.
int saveInsteadOfPhotoCd(BlockHandle block, const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    const qsizetype dot = path.lastIndexOf(u'.');
    const QString baseName = path.mid(slash + 1, dot > slash ? dot - slash - 1 : -1);
    SaveFileQuestion question;
    question.proposedPath = joinPath(pictureSaveFolder(), baseName + QStringLiteral(".jpg"));
    question.filter = loadString(Message::kJpegSaveFilter);
    const QString chosen = host().askSaveFileName(question);
    if (chosen.isEmpty())
        return kWriteFailed;
    WaitCursor wait;
    // A name typed without the default extension gets it, as a save dialog would add it.
    const QString target
        = GetFileExtension(chosen).isEmpty() ? chosen + QStringLiteral(".jpg") : chosen;
    if (upperExtension(target) == QLatin1String(".PCD"))
        return kWriteFailed;
    return SaveImageFile(block, target);
}

template<int (*writer)(const QString &, BlockHandle)>
int savePlain(BlockHandle block, const QString &path)
{
    WaitCursor wait;
    return writer(path, block);
}

template<WriteResult (*writer)(const QString &, BlockHandle)>
WriteResult writePlain(BlockHandle block, const QString &path)
{
    return writer(path, block);
}

BlockHandle openPhotoCd(const QString &path)
{
    const PhotoCdOptions options = photoCdOptions();
    return PkOpenFile(path, 0, &options);
}

DecodeResult loadPhotoCd(const QString &path)
{
    QFile file;
    DecodeResult opened = openForReading(file, path);
    if (opened.status != DecodeStatus::Ok)
        return opened;
    return readPhotoCd(file, PhotoCdResolution::Base, false);
}

BlockHandle openFlashPix(const QString &path)
{
    return PkOpenFile(path, 0, nullptr);
}

DecodeResult loadFlashPix(const QString &)
{
    return pictureFailure(
        DecodeStatus::Unsupported, QStringLiteral("FlashPix pictures are not supported"));
}

int saveFlashPix(BlockHandle block, const QString &path)
{
    return PkSaveFile(block, path, 0, 0) == 0 ? kWriteDone : kWriteFailed;
}

BlockHandle openQsf(const QString &path)
{
    return PkLoadQsfFile(path, kQsfBackgroundWhite);
}

DecodeResult loadQsf(const QString &)
{
    return pictureFailure(
        DecodeStatus::Unsupported, QStringLiteral("layered .QSF pictures are not supported"));
}

const std::array<PictureType, 8> kTypes { {
    { ".BMP", ReadBmpFile, loadBmpFile, savePlain<WriteBmpFile>, writePlain<saveBmpFile> },
    { ".TIF", ReadTiffFile, loadTiffFile, savePlain<WriteTiffFile>, writePlain<saveTiffFile> },
    { ".PCX", ReadPcxFile, loadPcxFile, savePlain<WritePcxFile>, writePlain<savePcxFile> },
    { ".TGA", ReadTgaFile, loadTgaFile, savePlain<WriteTgaFile>, writePlain<saveTgaFile> },
    { ".JPG", ReadJpegFile, loadJpegFile, saveJpeg, writeJpeg },
    { ".PCD", openPhotoCd, loadPhotoCd, saveInsteadOfPhotoCd, nullptr },
    { ".FPX", openFlashPix, loadFlashPix, saveFlashPix, nullptr },
    { ".QSF", openQsf, loadQsf, nullptr, nullptr },
} };

} // namespace

std::span<const PictureType> pictureTypes()
{
    return kTypes;
}

const PictureType *pictureTypeOf(const QString &path)
{
    const QString extension = upperExtension(path);
    for (const PictureType &type : kTypes) {
        if (extension == QLatin1String(type.extension))
            return &type;
    }
    return nullptr;
}

DecodeResult loadPicture(const QString &path)
{
    const PictureType *type = pictureTypeOf(path);
    if (type == nullptr) {
        // A folder or a missing file is reported as such, not as a file of an unknown type.
        QFile file;
        const DecodeResult opened = openForReading(file, path);
        if (opened.status != DecodeStatus::Ok)
            return opened;
        return pictureFailure(DecodeStatus::WrongKind, QStringLiteral("unknown picture type"));
    }
    DecodeResult result = type->load(path);
    // A partly decoded JPEG is a failure here: the caller asked for the picture.
    if (result.status != DecodeStatus::Ok && isBlockHandle(result.block))
        blockFree(std::exchange(result.block, 0));
    return result;
}

WriteResult savePicture(BlockHandle block, const QString &path)
{
    const PictureType *type = pictureTypeOf(path);
    if (type == nullptr || type->write == nullptr)
        return writeFailure(DecodeStatus::Unsuitable,
            QStringLiteral("pictures cannot be saved as %1 files")
                .arg(GetFileExtension(path).isEmpty() ? QStringLiteral("untyped")
                                                      : GetFileExtension(path)));
    return type->write(block, path);
}

} // namespace glimmerix
