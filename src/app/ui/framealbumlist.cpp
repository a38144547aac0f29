#include "framealbumlist.h"

#include "albumcommands.h"
#include "app/albumlist.h"
#include "mainframe.h"

#include "album/albumdoc.h"
#include "core/folders.h"

#include <QComboBox>

namespace glimmerix
{

QStringList FrameAlbumList::albumEntries() const
{
    QStringList entries;
    const QComboBox *list = m_frame.albumList();
    for (int index = 0; index < list->count(); ++index)
        entries << list->itemText(index);
    return entries;
}

QString FrameAlbumList::currentAlbumEntry() const
{
    return m_frame.albumList()->currentText();
}

QString FrameAlbumList::outsideAlbumPath() const
{
    return m_frame.externalAlbumPath();
}

void FrameAlbumList::applyAlbumListChange(const AlbumListChange &change)
{
    CAlbumDoc *document = m_frame.document();
    if (change.switchAlbum) {
        const QString untitled = CAlbumDoc::untitledName();
        const QString path = albumPathForEntry(
            change.selectEntry, albumsFolder(), untitled, m_frame.externalAlbumPath());
        // An album that cannot be opened leaves the list on the untitled album.
        if (!m_frame.albumCommands()->switchToAlbum(path))
            m_frame.albumCommands()->switchToAlbum(untitled);
    }
    m_frame.FillAlbumList(document->pathName());
    m_frame.updateCommandStates();
}

} // namespace glimmerix
