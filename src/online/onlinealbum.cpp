#include "onlinealbum.h"

#include "album/albumdoc.h"
#include "album/albumformat.h"
#include "album/albumitem.h"
#include "imaging/mediafile.h"

#include <QFileInfo>

namespace glimmerix
{

QList<int> uploadIndexes(const CAlbumDoc &document)
{
    QList<int> selected;
    QList<int> all;
    for (int i = 0; i < document.itemCount(); ++i) {
        all.append(i);
        if (document.item(i)->isSelected())
            selected.append(i);
    }
    return selected.isEmpty() ? all : selected;
}

QList<UploadItem> uploadItemsOf(const CAlbumDoc &document, const QList<int> &indexes)
{
    QList<UploadItem> items;
    for (const int index : indexes) {
        const AlbumItem *item = document.item(index);
        if (!item || !item->info() || !QFileInfo(item->absolutePath()).isFile()
            || !identifyMediaFile(item->absolutePath()).isPicture())
            continue;
        const ItemInfo &info = *item->info();
        items.append({ item->absolutePath(), fixedText(info.caption), fixedText(info.description),
            fixedText(info.keywords) });
    }
    return items;
}

int addDownloadedPictures(
    CAlbumDoc &document, const QList<RemoteImage> &records, QStringList *problems)
{
    const CAlbumDoc::ChangeBatch batch(document);
    int added = 0;
    for (const RemoteImage &record : records) {
        if (!record.downloaded)
            continue;
        QString problem;
        if (document.addFile(record.filename, -1, problems ? &problem : nullptr) != 1) {
            if (problems && !problem.isEmpty())
                problems->append(record.filename + QStringLiteral(": ") + problem);
            continue;
        }
        const int index = document.itemCount() - 1;
        document.setItemText(index, ItemField::Caption, record.caption);
        document.setItemText(index, ItemField::Keywords, record.keyword);
        document.setItemText(index, ItemField::Description, record.descrip);
        ++added;
    }
    return added;
}

} // namespace glimmerix
