#pragma once

#include "imaging/blockmemory.h"

#include <QImage>
#include <QMainWindow>

class QLabel;
class QScrollArea;

namespace glimmerix
{

// The window that shows one picture. It takes over an image block, shows it at a zoom the user
// picks (fit to the window, or 25% to 400%), and is titled with the picture's path, or
// "New Image" for a picture that has no file yet. It opens fitted to its window (at 100 % when the
// picture fits); Escape and Ctrl+W close it.
class PictureWindow final : public QMainWindow
{
    Q_OBJECT
public:
    PictureWindow(BlockHandle block, const QString &path, QWidget *parent = nullptr);
    ~PictureWindow() override;

    BlockHandle block() const { return m_block; }
    QString path() const { return m_path; }
    // Zoom in percent; 0 fits the picture into the window.
    int zoom() const { return m_zoom; }
    void setZoom(int percent);
    void zoomIn();
    void zoomOut();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showPicture();
    // The zoom the picture is shown at now, also when it is fitted to the window.
    int shownPercent() const;

    BlockHandle m_block = 0;
    QString m_path;
    QImage m_image;
    int m_zoom = 0;
    QScrollArea *m_area;
    QLabel *m_picture;
};

} // namespace glimmerix
