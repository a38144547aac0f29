#pragma once

#include "album/albumdoc.h"
#include "imaging/blockmemory.h"
#include "picture/pictureeditor.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <optional>

class QAction;
class QLabel;
class QScrollArea;
class QSlider;

namespace glimmerix
{

class PictureCanvas;
class SoundPlayerWindow;

// The window that shows and edits one picture. It takes over an image block and is titled with
// the picture's path, or "New Image" for a picture that has no file yet. A toolbar carries the
// tools (select and crop, rotate, brightness, contrast, saturation, sharpness) and the actions
// (centre the selection, zoom in and out, Undo, play and record the album item's sound); the
// four adjustments share one slider at the toolbar's right end. The editing itself is the
// PictureEditor's; this window turns mouse, toolbar and slider into its calls and shows the
// result. It opens at the largest zoom step up to 0 at which the picture fits; closing it with
// changes asks whether to save them (Yes, No, or Cancel back to the window with the changes kept,
// as does cancelling the file question), and a saved album picture gets a fresh thumbnail.
//
// Shown for an album item, the window steps through the album: Page Down or Space the next
// item, Page Up or Backspace the previous one, Home and End the first and last, and two toolbar
// buttons; items whose file is gone are stepped over. It asks its owner for the item
// (itemRequested), which puts the picture in this window or opens a clip or sound in its own;
// changes not yet saved are asked about first, as at closing. F11 or a double click shows the
// picture full screen (Escape leaves full screen before it closes the window), "1" shows it
// pixel for pixel, Ctrl+wheel zooms about the cursor, Ctrl+S saves over the file where its
// format allows and Ctrl+Shift+S saves under a name asked for.
class PictureWindow final : public QMainWindow
{
    Q_OBJECT
public:
    enum class ItemStep { Next, Previous, First, Last };

    PictureWindow(BlockHandle block, const QString &path, QWidget *parent = nullptr);
    ~PictureWindow() override;

    // The album item the picture belongs to (its sound buttons show unless the album is an
    // embedding); without one the sound buttons stay hidden.
    void setAlbumItem(CAlbumDoc *document, int index);

    BlockHandle block() const { return m_editor->working(); }
    const PictureEditor &editor() const { return *m_editor; }
    QString path() const { return m_path; }
    int zoom() const { return m_zoom; }
    void setZoom(int zoom);
    void zoomIn();
    void zoomOut();
    // The toolbar's action for a tool or action command.
    QAction *commandAction(int command) const { return m_actions.value(command); }
    // Runs a tool or action command as its button does.
    void runCommand(int command);

    // ---- stepping through the album
    // The item the window shows, or -1 (no album item, or it left the album).
    int itemIndex() const { return currentItemIndex(); }
    // Asks for the item `step` leads to, after the question about unsaved changes. False when
    // there is none to go to or the user stayed.
    bool stepItem(ItemStep step);
    // Shows `block` (taken over), the picture of album item `index` read from `path`, fitted to
    // the window when it is larger; the editing starts afresh.
    void showItemPicture(BlockHandle block, const QString &path, int index);
    // The window's place in the album moves to `index` while it keeps its picture (a clip or a
    // sound opened in its own window).
    void followItem(int index);

    // ---- full screen and saving while open
    void toggleFullScreen();
    // Saves what is shown over the picture's file when its format allows, else as saveAs().
    bool save();
    // Asks for a name and saves what is shown there. True when it was written.
    bool saveAs();

Q_SIGNALS:
    // The owner should show album item `index`: in this window when it is a picture.
    void itemRequested(int index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildToolBar();
    void chooseTool(int tool);
    void sliderMoved(int position);
    void crop();
    void rotate(double radians);
    void undo();
    void centreSelection();
    void playSound();
    void recordSound();
    void showShownPicture();
    void updateActions();
    void setSliderQuietly(int position);
    // The album item's index now (the album may have changed since), or -1.
    int currentItemIndex() const;
    bool saveOnClose();
    // Asks about unsaved changes as closing does; true when the window may let them go.
    bool mayDropChanges();
    // Writes what is shown; `askName` asks for the file even when the picture's own would do.
    bool writePicture(bool askName);
    // Zooms one step in (`direction` 1) or out (-1) keeping the picture point under `at`
    // (viewport coordinates) where it is.
    void zoomAbout(int direction, QPoint at);
    void addWindowActions();

    // Replaced whole when another item's picture is shown.
    std::optional<PictureEditor> m_editor;
    QString m_path;
    int m_zoom = 0;
    bool m_userZoomed = false;
    QScrollArea *m_area;
    PictureCanvas *m_canvas;
    QSlider *m_slider = nullptr;
    QLabel *m_value = nullptr;
    QAction *m_sliderAction = nullptr;
    QAction *m_valueAction = nullptr;
    QHash<int, QAction *> m_actions;
    QPointer<CAlbumDoc> m_document;
    int m_itemIndex = -1;
    QString m_itemPath;
    QPointer<SoundPlayerWindow> m_player;
};

} // namespace glimmerix
