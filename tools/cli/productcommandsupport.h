#pragma once

// Pieces the product commands (webalbum, slideshow) share: choosing album items on the picking
// model, the disc folder option, and putting a product on a disc image or writer through the
// wizard's CD delivery.

#include "optionreader.h"

#include "album/albumdoc.h"
#include "cdout/disccomponent.h"
#include "publish/cddelivery.h"
#include "publish/itempicker.h"
#include "publish/packagefolder.h"

#include <QList>
#include <QStringList>

#include <optional>

using namespace glimmerix;

// The album items `items` names (numbers and ranges, see parseItemList), or when it is not given
// every item `wanted` takes, in album order. nullopt after a usage error.
std::optional<QList<int>> chosenItems(const QString &command, const std::optional<QString> &items,
    const CAlbumDoc &doc, bool (*wanted)(const AlbumItem &item));

// The all-items entries of the album items at `indexes`; an item without an entry (its file is
// missing, or it is no still picture for a slide show) is reported in `problems`.
QList<int> pickerEntryIndexes(const ItemPicker &picker, const CAlbumDoc &doc,
    const QList<int> &indexes, QStringList &problems);

// Hands `product` to the CD delivery the wizards use, with our disc component recording to
// `target` on a disc of `capacityBlocks`; the component reports its own problems. True when
// the disc was written.
bool deliverProductToDisc(
    const CdProduct &product, const DiscTarget &target, qint64 capacityBlocks);

// Whether a package of `kind` may go into `folder` (see deliverPackage): a missing or empty folder
// may, an earlier package of the same product only with `replace` (--replace-package). Otherwise
// says why, naming the folder, and returns false; the command then exits 1 before making anything.
bool packageFolderAccepted(const QString &folder, PackageKind kind, bool replace);

// The file a disc target writes: the image file, or for a writer the file a "stdio:" address
// names (any other address is a device).
QString discTargetFile(const DiscTarget &target);

// --disc-folder NAME into `target`, spaces made '_'; a name no disc folder may have is refused.
CliOption discFolderOption(const QString &command, QString &target);
