#pragma once

#include <QWidget>

class QLabel;
class QMediaPlayer;

namespace glimmerix
{

// A small window that plays a clip once, drawing its frames as they come, turned clockwise by
// `clockwise` degrees (a quarter turn; the clip's display rotation, which Qt Multimedia 6.4 does
// not apply itself).
class ClipPlayerWindow final : public QWidget
{
    Q_OBJECT
public:
    ClipPlayerWindow(const QString &path, const QString &title, QWidget *parent, int clockwise = 0);

private:
    QLabel *m_picture;
    QMediaPlayer *m_player;
};

} // namespace glimmerix
