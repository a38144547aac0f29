#include "clipplayerwindow.h"

#include "media/playeroutput.h"

#include <QLabel>
#include <QMediaPlayer>
#include <QTransform>
#include <QUrl>
#include <QVBoxLayout>
#include <QVideoFrame>
#include <QVideoSink>

namespace glimmerix
{

ClipPlayerWindow::ClipPlayerWindow(
    const QString &path, const QString &title, QWidget *parent, int clockwise)
    : QWidget(parent, Qt::Window | Qt::Tool)
    , m_picture(new QLabel(this))
    , m_player(new QMediaPlayer(this))
{
    setObjectName(QStringLiteral("clipPlayer"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(title);
    m_picture->setMinimumSize(160, 120);
    m_picture->setAlignment(Qt::AlignCenter);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_picture);
    auto *sink = new QVideoSink(this);
    connect(
        sink, &QVideoSink::videoFrameChanged, this, [this, clockwise](const QVideoFrame &frame) {
            QImage image = frame.toImage();
            if (!image.isNull() && clockwise != 0)
                image = image.transformed(QTransform().rotate(clockwise));
            if (!image.isNull())
                m_picture->setPixmap(QPixmap::fromImage(image));
        });
    // A clip that cannot be played says why instead of leaving an empty window.
    connect(m_player, &QMediaPlayer::errorOccurred, this,
        [this](QMediaPlayer::Error, const QString &error) {
            m_picture->setText(error.isEmpty() ? tr("The clip cannot be played.") : error);
        });
    m_player->setVideoSink(sink);
    attachSoundOutput(m_player);
    m_player->setSource(QUrl::fromLocalFile(path));
    m_player->play();
}

} // namespace glimmerix
