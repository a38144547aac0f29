#pragma once

#include <QImage>
#include <QWidget>

namespace glimmerix
{

// The live picture of the capture dialog: the newest frame, drawn at its own size centred in
// the preview area when it fits there, else scaled to fill the area.
class CapturePreview final : public QWidget
{
    Q_OBJECT
public:
    explicit CapturePreview(QWidget *parent = nullptr);

    void showFrame(const QImage &frame);
    void clear();
    // Where the picture is drawn and whether it is scaled (after the last frame).
    QRect pictureRect() const;
    bool isScaled() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRect area() const;

    QImage m_frame;
};

} // namespace glimmerix
