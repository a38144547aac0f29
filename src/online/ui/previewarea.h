#pragma once

#include <QImage>
#include <QWidget>

namespace glimmerix
{

// The download dialog's preview: the picture scaled to fit the area less 5 pixels left and
// right and 10 at the top and bottom, moved 6 pixels down, keeping its aspect ratio, centred.
// Nothing is drawn while the preview is switched off.
class PreviewArea : public QWidget
{
    Q_OBJECT
public:
    explicit PreviewArea(QWidget *parent = nullptr);
    void setImage(const QImage &image);
    void setShown(bool shown);
    // Where the picture is drawn in an area of `area` for a picture of `picture`.
    static QRect pictureRect(const QRect &area, const QSize &picture);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_image;
    bool m_shown = true;
};

} // namespace glimmerix
