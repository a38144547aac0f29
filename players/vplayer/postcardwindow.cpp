#include "postcardwindow.h"

#include "publish/postcardformat.h"
#include "publish/postcardmaker.h"

#include "media/playeroutput.h"

#include <QKeyEvent>
#include <QMediaPlayer>
#include <QPainter>
#include <QUrl>
#include <QVideoFrame>
#include <QVideoSink>

namespace glimmerix
{

namespace
{

constexpr int kMargin = 24;
const QSize kLayoutSize(2 * kCardWidth + 3 * kMargin, kCardHeight + 2 * kMargin);

} // namespace

PostcardWindow::PostcardWindow(
    const PostcardContent &content, const QString &clipPath, QWidget *parent)
    : QWidget(parent)
    , m_frame(postcardFrameImage(content))
    , m_card(postcardCardImage(content))
    , m_window(content.window)
{
    setObjectName(QStringLiteral("postcardWindow"));
    setWindowTitle(tr("Video Postcard"));
    setFocusPolicy(Qt::StrongFocus);
    if (clipPath.isEmpty()) {
        m_problem = tr("The postcard's clip is missing.");
        return;
    }
    m_player = new QMediaPlayer(this);
    // A machine without a sound output shows the clip silently.
    attachSoundOutput(m_player);
    auto *sink = new QVideoSink(this);
    connect(sink, &QVideoSink::videoFrameChanged, this, [this](const QVideoFrame &frame) {
        const QImage image = frame.toImage();
        if (image.isNull())
            return;
        m_clipPicture = image;
        update();
        if (!m_started) {
            m_started = true;
            emit clipStarted(true, {});
        }
    });
    connect(m_player, &QMediaPlayer::errorOccurred, this,
        [this](QMediaPlayer::Error, const QString &text) {
            m_problem = text.isEmpty() ? tr("The clip cannot be played.") : text;
            update();
            if (!m_started) {
                m_started = true;
                emit clipStarted(false, m_problem);
            }
        });
    m_player->setVideoSink(sink);
    m_player->setLoops(QMediaPlayer::Infinite);
    m_player->setSource(QUrl::fromLocalFile(clipPath));
    m_player->play();
}

QSize PostcardWindow::sizeHint() const
{
    return kLayoutSize;
}

// The left panel holds the frame picture centred; the right one the card.
QRect PostcardWindow::frameArea() const
{
    const QSize size = m_frame.isNull() ? QSize(kCardWidth, kCardHeight) : m_frame.size();
    return QRect(QPoint(kMargin + (kCardWidth - size.width()) / 2,
                     kMargin + (kCardHeight - size.height()) / 2),
        size);
}

QRect PostcardWindow::cardArea() const
{
    return QRect(2 * kMargin + kCardWidth, kMargin, kCardWidth, kCardHeight);
}

void PostcardWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(43, 43, 48));
    const qreal scale
        = std::min(qreal(width()) / kLayoutSize.width(), qreal(height()) / kLayoutSize.height());
    painter.translate(
        (width() - kLayoutSize.width() * scale) / 2, (height() - kLayoutSize.height() * scale) / 2);
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);

    const QRect frame = frameArea();
    if (m_frame.isNull())
        painter.fillRect(frame, Qt::black);
    else
        painter.drawImage(frame, m_frame);
    if (!m_window.isEmpty()) {
        const QRect window = m_window.translated(frame.topLeft());
        painter.fillRect(window, Qt::black);
        if (!m_clipPicture.isNull()) {
            QSize fitted = m_clipPicture.size().scaled(window.size(), Qt::KeepAspectRatio);
            QRect target(QPoint(), fitted);
            target.moveCenter(window.center());
            painter.drawImage(target, m_clipPicture);
        } else if (!m_problem.isEmpty()) {
            painter.setPen(Qt::white);
            painter.drawText(
                window.adjusted(6, 6, -6, -6), Qt::AlignCenter | Qt::TextWordWrap, m_problem);
        }
    }
    if (m_card.isNull())
        painter.fillRect(cardArea(), QColor(250, 244, 228));
    else
        painter.drawImage(cardArea(), m_card);
}

void PostcardWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    if (event->key() == Qt::Key_Space && m_player) {
        if (m_player->playbackState() == QMediaPlayer::PlayingState)
            m_player->pause();
        else
            m_player->play();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace glimmerix
