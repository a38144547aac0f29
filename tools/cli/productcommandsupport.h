#pragma once

// Pieces the product commands (webalbum, slideshow) share: choosing album items on the picking
// model and putting a product on a disc image or writer through the wizard's CD delivery.

#include "album/albumdoc.h"
#include "cdout/disccomponent.h"
#include "publish/cddelivery.h"
#include "publish/itempicker.h"

#include <QList>
#include <QStringList>

using namespace glimmerix;

// The all-items entries of the album items at `indexes`; an item without an entry (its file is
// missing, or it is no still picture for a slide show) is reported in `problems`.
QList<int> pickerEntryIndexes(const ItemPicker &picker, const CAlbumDoc &doc,
    const QList<int> &indexes, QStringList &problems);

// Hands `product` to the CD delivery the wizards use, with our disc component recording to
// `target` on a disc of `capacityBlocks`; the component reports its own problems. True when
// the disc was written.
bool deliverProductToDisc(
    const CdProduct &product, const DiscTarget &target, qint64 capacityBlocks);
