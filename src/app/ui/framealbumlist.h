#pragma once

#include "album/ui/albummanager.h"

namespace glimmerix
{

class CMainFrame;

// The main window's album list as the album management commands see it. Applying a command's
// result switches albums through the album list's change rule and then rebuilds the list from
// the albums folder, so the list always ends on the entry of the album that is open.
class FrameAlbumList final : public AlbumListAccess
{
public:
    explicit FrameAlbumList(CMainFrame &frame)
        : m_frame(frame)
    {
    }

    QStringList albumEntries() const override;
    QString currentAlbumEntry() const override;
    QString outsideAlbumPath() const override;
    void applyAlbumListChange(const AlbumListChange &change) override;

private:
    CMainFrame &m_frame;
};

} // namespace glimmerix
