#pragma once

#include "app/commandtable.h"
#include "imaging/blockmemory.h"
#include "picture/ui/picturewindow.h"
#include "platform/instancechannel.h"
#include "platform/relayfile.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QTimer;
class QToolBar;

namespace glimmerix
{

class AlbumCommands;
class AlbumManager;
class AlbumTransfer;
class HandoverQueue;
class FrameAlbumList;
class LauncherBar;
class CAlbumDoc;
class CAlbumView;

// The program's main window: the album bar with the album list along the top, the album's view,
// the launcher bar along the bottom and a three-pane status bar. It owns the album document,
// builds its menus and the album bar's buttons from the command table the subsystems fill (each
// command a QAction carrying its number), runs the table's enable rules in one update pass, takes
// files dropped from the desktop or handed over by other processes, maps commands to help pages
// and owns the picture window.
class CMainFrame final : public QMainWindow, public HandoverReceiver, public InstanceMessageReceiver
{
    Q_OBJECT
public:
    explicit CMainFrame(QWidget *parent = nullptr);
    ~CMainFrame() override;

    CAlbumDoc *document() const { return m_document; }
    CAlbumView *view() const { return m_view; }
    AlbumCommands *albumCommands() const { return m_commands; }
    // The launcher bar's buttons (the program list comes from the settings, see main).
    LauncherBar *launcherBar() const { return m_launcher; }
    // The command `id`, or nullptr.
    QAction *action(int id) const { return m_actions.value(id); }
    // Runs command `id` when it is enabled. Returns whether it ran.
    bool runCommand(int id);
    // The enable-state pass over every command, and the status bar's panes.
    void updateCommandStates();

    // ---- the album list
    QComboBox *albumList() const { return m_albumList; }
    int albumListIndex() const { return m_albumListIndex; }
    void selectAlbumEntry(const QString &entry);
    QString externalAlbumPath() const { return m_externalAlbumPath; }
    void FillAlbumList(const QString &currentName);
    // Opens the named album at start: "NEW", "New" or the untitled name open a new album, an
    // empty name the current album name, anything else that album (remembered as the outside
    // album when it lies outside the albums folder).
    void SelectAlbumByName(const QString &name);
    QString GetSelectedAlbumPath() const;
    bool IsNewAlbumSelected() const;

    // ---- pictures
    // Replaces the picture window with a new one showing `block` (taken over) titled with
    // `path` ("New Image" when empty).
    void ShowImageWindow(BlockHandle block, const QString &path, int flag = 0);
    PictureWindow *pictureWindow() const { return m_pictureWindow; }
    // The first picture of a video clip as a new image block, or 0.
    BlockHandle GetFirstMpegFrame(const QString &path);
    // Opens item `index`: a picture in the picture window, anything else in the desktop's
    // application for it.
    void openItem(int index);
    // Reads the picture at `path` and shows it in the picture window.
    void showPictureFile(const QString &path);
    // The picture window stepped to item `index`: a picture is shown in it, a clip or sound
    // opens in its own window as a double click opens it; the grid's current item follows.
    void showItemInPictureWindow(int index);

    // ---- files from outside
    // Adds `paths` in order before the item at `viewPoint` (view coordinates; past the last item:
    // at the end). Returns how many were added.
    int addDroppedFiles(const QStringList &paths, QPoint viewPoint);
    // A file handed over through the relay file (message 1034): added once the window is free.
    void receiveHandedOverFile(const QString &path) override;
    // Message 0x464 from another process.
    std::int64_t handleInstanceMessage(std::uint32_t number, std::int64_t wparam,
        std::int64_t lparam, const QByteArray &payload) override;
    // Message 0x464: the path in the shared memory "ImagePath". 1 when it was added, 0 when not;
    // kImagePathQueued when a dialog is open and the path waits until it is closed.
    int onImagePathMessage();

    // ---- status panes
    // Text of pane `pane` (0: the message pane; an empty text shows the idle text).
    void setStatusText(int pane, const QString &text);
    QString itemCountPaneText() const;
    QString albumSizePaneText() const;

    // ---- clipboard and drag-and-drop of album items
    AlbumTransfer *transfer() const { return m_transfer; }
    // Whether the clipboard holds album items this window put there (asked about at closing).
    bool isClipboardOwner() const;

    // The window rectangle `window` dragged at `edge` snapped to whole grid cells.
    QRect snapSizing(const QRect &window, int edge) const;

Q_SIGNALS:
    void lastFileChanged(const QString &path);
    void fieldLabelsChanged(const QStringList &labels);
    // The window was closed (the program's end unless another window stays).
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // The frame's own commands: a new program window, mail, exit and the About box.
    CommandSet frameCommandSet();
    // Makes an action for every command of the table, then the menus from the table's places.
    void createCommands();
    void createBars();
    void updateSizeHints();
    void displayChanged();
    void recomputeAlbumSize() const;
    void sendCurrentByMail();
    void openInNewWindow();
    void showAbout();
    void onAlbumPathChanged(const QString &path);

    CAlbumDoc *m_document;
    CAlbumView *m_view;
    AlbumCommands *m_commands;
    CommandTable m_commandTable;
    QHash<int, QAction *> m_actions;
    QComboBox *m_albumList = nullptr;
    int m_albumListIndex = 0;
    QToolBar *m_albumBar = nullptr;
    QToolBar *m_launcherBar = nullptr;
    LauncherBar *m_launcher = nullptr;
    std::unique_ptr<FrameAlbumList> m_albumListAccess;
    AlbumManager *m_albumManager = nullptr;
    AlbumTransfer *m_transfer = nullptr; // clipboard and drag-and-drop of album items
    QTimer *m_hoverTimer = nullptr;
    QLabel *m_messagePane = nullptr;
    QLabel *m_countPane = nullptr;
    QLabel *m_sizePane = nullptr;
    mutable QString m_albumSizeText;
    mutable bool m_albumSizeDirty = true;
    bool m_sizeRefreshQueued = false;
    QString m_currentAlbumName;
    QString m_externalAlbumPath;
    bool m_placed = false;
    HandoverQueue *m_handovers = nullptr;
    QPointer<PictureWindow> m_pictureWindow;
};

} // namespace glimmerix
