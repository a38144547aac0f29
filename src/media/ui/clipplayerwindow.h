#pragma once

#include <QWidget>

class QLabel;
class QMediaPlayer;

namespace glimmerix
{

// A small window that plays a captured clip once, drawing its frames as they come.
class ClipPlayerWindow final : public QWidget
{
    Q_OBJECT
public:
    ClipPlayerWindow(const QString &path, const QString &title, QWidget *parent);

private:
    QLabel *m_picture;
    QMediaPlayer *m_player;
};

} // namespace glimmerix
