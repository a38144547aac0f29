#include "slidetable.h"

#include "album/albumdoc.h"
#include "presentationsettings.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace glimmerix
{

QList<SlideRow> buildSlideTable(const CAlbumDoc &document)
{
    QList<SlideRow> slides;
    slides.reserve(document.itemCount());
    for (int index = 0; index < document.itemCount(); ++index) {
        const AlbumItem *item = document.item(index);
        const ItemInfo *info = item->info();
        // Items in memory always carry their full path; relative names were resolved on load.
        SlideRow row;
        row.path = item->absolutePath();
        if (info)
            row.caption = fixedText(info->description).left(kMaxCaptionCharacters);
        row.soundPath = item->attachmentPath();
        slides.append(row);
    }
    return slides;
}

bool anyItemFileExists(const CAlbumDoc &document)
{
    for (int index = 0; index < document.itemCount(); ++index) {
        if (QFileInfo::exists(document.item(index)->absolutePath()))
            return true;
    }
    return false;
}

bool anySlideHasSound(const QList<SlideRow> &slides)
{
    return std::any_of(
        slides.begin(), slides.end(), [](const SlideRow &row) { return !row.soundPath.isEmpty(); });
}

int secondsPerSlideForMusic(double musicSeconds, int slides)
{
    if (slides <= 0)
        return 1;
    return std::max(1, int(std::lround(musicSeconds / slides)));
}

} // namespace glimmerix
