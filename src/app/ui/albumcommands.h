#pragma once

#include "app/commandtable.h"

#include <QObject>
#include <QString>

namespace glimmerix
{

class CAlbumDoc;
class CAlbumView;
class CMainFrame;

// The album document's commands: Sort, New, Open, Save, Save As, Open album, converting older
// albums, the album list's change of album, Attach sound, Record sound, Add files, Add folder and
// Find missing files. They ask
// with dialogs and then call the document.
class AlbumCommands final : public QObject
{
    Q_OBJECT
public:
    AlbumCommands(CMainFrame *frame, CAlbumDoc *document, CAlbumView *view);

    // The commands above with their menu places and enable rules.
    CommandSet commandSet();

    void sort(); // 32775
    void newAlbum(); // 57600
    void open(); // 57601: any album file, chosen in a file dialog
    void convertOldAlbums(); // 32835
    bool save(); // 57603
    bool saveAs(); // 57604
    void openAlbum(); // 32790
    void albumListChanged(int index); // 32785
    void attachSound(); // 32816
    // Records a sound and attaches it to the current item; with no current item the recording
    // becomes a new item.
    void recordSound(); // 32831
    void addFiles(); // 32780
    // Asks for a folder and adds it with all its sub-folders (addFolderTree).
    void addFolder(); // 32870
    // Adds `folder` and its sub-folders with a progress window, then shows the summary, whose
    // ticked files (the same picture elsewhere, unreadable) are added anyway. Dropping a folder
    // on the grid does the same.
    void addFolderTree(const QString &folder);
    // Asks for a folder, looks in its tree for the files of items whose file is gone and relinks
    // the ones the user leaves ticked.
    void findMissingFiles(); // 32871

    // Opens the album at `path` (or the untitled name) as the album list does, after offering
    // unsaved changes for saving; false when it could not be opened or the user cancelled.
    bool switchToAlbum(const QString &path);
    // The folder the Add-files dialog starts in when the album has none of its own.
    QString addPhotoFolder() const { return m_addPhotoFolder; }
    void setAddPhotoFolder(const QString &folder) { m_addPhotoFolder = folder; }

Q_SIGNALS:
    // An album was opened or saved under a name: the settings remember it as the last album.
    void lastFileChanged(const QString &path);
    // The add-photo folder changed (written back to the settings at exit).
    void addPhotoFolderChanged(const QString &folder);

private:
    // Attaches `path` to item `index` as an undo step.
    void attachStep(int index, const QString &path);

    CMainFrame *m_frame;
    CAlbumDoc *m_document;
    CAlbumView *m_view;
    QString m_soundFolder;
    QString m_addPhotoFolder;
};

} // namespace glimmerix
