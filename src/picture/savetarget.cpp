#include "savetarget.h"

#include "imaging/mediafile.h"
#include "imaging/mediawriter.h"
#include "imaging/picturestatus.h"
#include "imaging/picturetypes.h"
#include "platform/uniquefiles.h"

#include <QFileInfo>

namespace glimmerix
{

namespace
{

// The format a saved name's extension asks for, Unknown for a name not written here.
MediaFormat formatForName(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"jpg" || suffix == u"jpeg" || suffix == u"jpe" || suffix == u"jfif")
        return MediaFormat::Jpeg;
    if (suffix == u"tif" || suffix == u"tiff")
        return MediaFormat::Tiff;
    if (suffix == u"png")
        return MediaFormat::Png;
    if (suffix == u"webp")
        return MediaFormat::WebP;
    return MediaFormat::Unknown;
}

bool sameFile(const QString &a, const QString &b)
{
    const QFileInfo first(a);
    const QFileInfo second(b);
    if (first.exists() && second.exists())
        return first.canonicalFilePath() == second.canonicalFilePath();
    return first.absoluteFilePath() == second.absoluteFilePath();
}

} // namespace

std::optional<SaveOffer> pictureSaveOffer(const QString &originalPath)
{
    if (originalPath.isEmpty())
        return std::nullopt;
    const PictureType *albumType = pictureTypeOf(originalPath);
    if (albumType != nullptr && albumType->save != nullptr)
        return std::nullopt;
    const QString jpeg = QStringLiteral("JPEG (*.jpg *.jpeg)");
    const QString png = QStringLiteral("PNG (*.png)");
    const QString tiff = QStringLiteral("TIFF (*.tif *.tiff)");
    const QString webp = QStringLiteral("WebP (*.webp)");
    const MediaFormat format = identifyMediaFile(originalPath).format;
    // A picture already in a written format keeps it when its name says so too.
    if (format == formatForName(originalPath)) {
        switch (format) {
        case MediaFormat::Jpeg:
            return SaveOffer { QStringList { jpeg, png, tiff }.join(QStringLiteral(";;")),
                originalPath, QStringLiteral("jpg") };
        case MediaFormat::Png:
            return SaveOffer { QStringList { png, jpeg, tiff }.join(QStringLiteral(";;")),
                originalPath, QStringLiteral("png") };
        case MediaFormat::WebP:
            return SaveOffer { QStringList { webp, jpeg, png, tiff }.join(QStringLiteral(";;")),
                originalPath, QStringLiteral("webp") };
        case MediaFormat::Tiff:
            return SaveOffer { QStringList { tiff, jpeg, png }.join(QStringLiteral(";;")),
                originalPath, QStringLiteral("tif") };
        default:
            break;
        }
    }
    const QFileInfo original(originalPath);
    const QString beside = freeFilePath(
        original.absolutePath() + u'/' + original.completeBaseName() + QStringLiteral(".jpg"));
    const QStringList offered = format == MediaFormat::WebP ? QStringList { jpeg, png, tiff, webp }
                                                            : QStringList { jpeg, png, tiff };
    return SaveOffer { offered.join(QStringLiteral(";;")), beside, QStringLiteral("jpg") };
}

WriteResult savePictureAs(BlockHandle block, const QString &chosen, const QString &originalPath)
{
    const MediaFormat format = formatForName(chosen);
    if (format == MediaFormat::Unknown)
        return writeFailure(DecodeStatus::Unsuitable,
            QStringLiteral("pictures are saved here as JPEG, PNG, TIFF or WebP files, not as "
                           "\"%1\" files")
                .arg(QFileInfo(chosen).suffix()));
    if (sameFile(chosen, originalPath) && identifyMediaFile(originalPath).format != format)
        return writeFailure(DecodeStatus::Unsuitable,
            QStringLiteral("the original %1 picture is not written over in another format; "
                           "choose another name")
                .arg(mediaFormatName(identifyMediaFile(originalPath).format)));
    switch (format) {
    case MediaFormat::Jpeg:
        return pictureTypeOf(QStringLiteral("x.JPG"))->write(block, chosen);
    case MediaFormat::Tiff:
        return pictureTypeOf(QStringLiteral("x.TIF"))->write(block, chosen);
    default:
        return saveMediaPicture(block, chosen);
    }
}

} // namespace glimmerix
