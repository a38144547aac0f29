#pragma once

#include "framecatalog.h"
#include "postcardfile.h"

#include "core/folders.h"
#include "imaging/blockmemory.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

namespace glimmerix
{

// The postcard's pieces, shared by the wizard, glimix-cli postcard and the player.

// Where the postcard's templates ("Text.bkg" and the frame catalogs) are looked for, in order:
// the user's template folder, the program's own (the installed templates), the CD's when one is
// configured.
QStringList postcardTemplateFolders(const Folders &folders, const QString &cdTemplateFolder);
// The first "Text.bkg" of `templateFolders`; empty when none has one.
QString findCardBackground(const QStringList &templateFolders);
// The card background picture of `path` (a Windows bitmap); null with `error` set when it cannot
// be read.
QImage loadCardBackground(const QString &path, QString *error);

// The size an own picture takes: pictures wider than 640 or higher than 480 are made 480 high,
// and then, when still wider than 640, 640 wide (keeping their proportions, and at least one
// row).
QSize fitIntoCard(QSize picture);
// The video window centred on a picture of `picture` size: 160 x 120, or 320 x 240 when `large`.
QRect centredWindow(QSize picture, bool large);

// The clip's name in the postcard file: "Video" and the clip's extension upper-cased when it is
// one of .AVI .MPEG .MPG .MOV, else "Video" alone ("trip.Mpeg" -> "Video.MPEG").
QString postcardClipName(const QString &clipPath);
// The clip file beside the postcard file: "video." and the extension lower-cased
// ("trip.Mpeg" -> "video.mpeg").
QString postcardClipFileName(const QString &clipPath);
// Why `clipPath` cannot be the postcard's clip ("no such file", a type other than .avi .mpeg
// .mpg .mov, "FFmpeg cannot open the clip", "the clip has no video"); empty when it can.
QString postcardClipProblem(const QString &clipPath);

// The bytes of a 1, 4, 8 or 24-bit image block without padding: header, colour table, rows.
QByteArray packedDibBytes(BlockHandle block);
// A complete Windows BMP file of a packed bitmap: the 14-byte file header ("BM", file size, two
// zero words, pixel offset 54 + 4 x colour table entries), then the bitmap.
QByteArray bmpFileBytes(const QByteArray &packedDib);
// The packed 24-bit bitmap of `image`.
QByteArray packedDibOf(const QImage &image);
// The picture a postcard's card bitmap or frame data holds (null when it holds none).
QImage postcardCardImage(const PostcardContent &content);
QImage postcardFrameImage(const PostcardContent &content);

// The user's own picture for the frame: loaded, widened to 24 bits, fitted into 640 x 480 at its
// own resolution (200 dots per inch when it has none). Empty with `error` set when it cannot be
// read.
OwnedBlock loadOwnFramePicture(const QString &path, QString *error);

// The frame the postcard uses: a catalog's frame, the user's own picture (a 24-bit image
// block), or neither.
struct PostcardFrameChoice {
    const FrameCatalog *catalog = nullptr;
    int frameIndex = -1;
    BlockHandle ownPicture = 0;
    bool large = false;
};

// What goes into "background.vtp": the card picture, the window for the chosen size, the clip's
// name and the frame data. With neither frame nor own picture the header alone. Empty with
// `error` set when the catalog frame cannot be read.
std::optional<PostcardContent> makePostcardContent(
    const PostcardFrameChoice &frame, const QImage &card, const QString &clipPath, QString *error);

} // namespace glimmerix
