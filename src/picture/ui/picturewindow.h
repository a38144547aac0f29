#pragma once

#include "album/albumdoc.h"
#include "imaging/blockmemory.h"
#include "picture/pictureeditor.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

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
class PictureWindow final : public QMainWindow
{
    Q_OBJECT
public:
    PictureWindow(BlockHandle block, const QString &path, QWidget *parent = nullptr);
    ~PictureWindow() override;

    // The album item the picture belongs to (its sound buttons show unless the album is an
    // embedding); without one the sound buttons stay hidden.
    void setAlbumItem(CAlbumDoc *document, int index);

    BlockHandle block() const { return m_editor.working(); }
    const PictureEditor &editor() const { return m_editor; }
    QString path() const { return m_path; }
    int zoom() const { return m_zoom; }
    void setZoom(int zoom);
    void zoomIn();
    void zoomOut();
    // The toolbar's action for a tool or action command.
    QAction *commandAction(int command) const { return m_actions.value(command); }
    // Runs a tool or action command as its button does.
    void runCommand(int command);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

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

    PictureEditor m_editor;
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
