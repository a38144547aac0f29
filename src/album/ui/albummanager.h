#pragma once

#include "album/albummanagement.h"

#include <QObject>
#include <QStringList>

#include <functional>

class QWidget;

namespace glimmerix
{

class CAlbumDoc;

// What the album management commands need from the main window's album list (control 32785).
class AlbumListAccess
{
public:
    virtual ~AlbumListAccess() = default;
    // The entries of the list, in list order.
    virtual QStringList albumEntries() const = 0;
    // The selected entry; empty when the list has none.
    virtual QString currentAlbumEntry() const = 0;
    // The album remembered from outside the albums folder (the entry ending in "*").
    virtual QString outsideAlbumPath() const = 0;
    // Applies a command's result: the list is brought up to date, `change.selectEntry` is
    // selected and, with `change.switchAlbum`, opened through the album list's change rule. When
    // that open fails the list must still end on a valid entry (the untitled one).
    virtual void applyAlbumListChange(const AlbumListChange &change) = 0;
};

// The album management commands of the main window: the dialogs, then the work of
// albummanagement.h and albumfilecopy.h, then the album list's update.
class AlbumManager : public QObject
{
    Q_OBJECT
public:
    AlbumManager(CAlbumDoc &doc, AlbumListAccess &list, QWidget *window, QObject *parent = nullptr);

    // Runs command 32795, 32796, 32797, 32798 or 32800; false for other numbers.
    bool runCommand(int command);
    // Whether command `command` is offered now.
    bool isEnabled(int command) const;

    void renameAlbum();
    void copyAlbum();
    void deleteAlbum();
    void showProperties();
    void copyAlbumFiles();

    // Replaces how the free space of a destination is found (tests).
    void setFreeSpaceQuery(FreeSpaceQuery query) { m_freeSpace = std::move(query); }
    // Where the album last opened by the program is remembered (the settings' last file), so
    // deleting that album forgets it; none by default.
    void setLastFileSource(std::function<QString()> lastFile) { m_lastFile = std::move(lastFile); }

private:
    QString albumsFolder() const;
    // Asks whether another album already named `name` is to be replaced (default No); false
    // when the user says No. `replace` tells whether there is one to replace.
    bool mayReplace(const QString &name, const QString &current, bool &replace) const;

    CAlbumDoc &m_doc;
    AlbumListAccess &m_list;
    QWidget *m_window = nullptr;
    FreeSpaceQuery m_freeSpace = freeSpaceOf;
    std::function<QString()> m_lastFile = [] { return QString(); };
};

} // namespace glimmerix
