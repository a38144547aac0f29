#include "slideplayer.h"

#include "media/wavefile.h"
#include "media/waveplayer.h"

#include <QCloseEvent>
#include <QFile>
#include <QImageReader>
#include <QKeyEvent>
#include <QPainter>

using namespace glimmerix;

namespace
{

// A show of thousands of pictures stays far below this; a larger file is refused unread.
constexpr qint64 kLargestShowFile = 64 * 1024 * 1024;
// Pictures are decoded with a memory limit, so a hostile JPEG cannot take all memory.
constexpr int kPictureMegabytes = 512;
constexpr int kCaptionLines = 2;

QImage loadShowPicture(const QString &path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    reader.setAllocationLimit(kPictureMegabytes);
    return reader.read();
}

} // namespace

bool readShowFile(const QString &path, SlideShowFile &show, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    if (file.size() > kLargestShowFile) {
        error = path + QStringLiteral(": too large for a show file");
        return false;
    }
    QString why;
    if (!decodeSlideShow(file.readAll(), show, &why)) {
        error = path + QStringLiteral(": ") + why;
        return false;
    }
    return true;
}

SlidePlayer::SlidePlayer(SlideShowFile show, const QString &folder, QWidget *parent)
    : QWidget(parent)
    , m_show(std::move(show))
    , m_folder(folder)
{
    setObjectName(QStringLiteral("slidePlayer"));
    setWindowTitle(m_show.title.isEmpty() ? tr("Slide Show") : m_show.title);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::BlankCursor);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &SlidePlayer::next);
}

SlidePlayer::~SlidePlayer()
{
    stopSound();
    if (m_music && m_music->player() && m_music->player()->isPlaying())
        m_music->player()->stop();
}

void SlidePlayer::start()
{
    if (m_show.sound == ShowSound::Music && !m_show.musicName.isEmpty()) {
        m_music = std::make_unique<WaveFile>();
        // No sound device, or a file that will not play: the pictures go on in silence.
        m_music->play(m_folder + m_show.musicName);
    }
    if (m_show.entries.isEmpty())
        update();
    else
        showSlide(0);
}

void SlidePlayer::showSlide(int index)
{
    m_current = index;
    const ShowEntry &entry = m_show.entries.at(index);
    m_picture
        = entry.pictureName.isEmpty() ? QImage() : loadShowPicture(m_folder + entry.pictureName);
    if (m_show.sound == ShowSound::PictureSounds) {
        stopSound();
        if (!entry.soundName.isEmpty() && !m_paused)
            playSound(entry.soundName);
    }
    m_remainingMs = slideMilliseconds(m_show, index);
    if (!m_paused) {
        m_timer.start(m_remainingMs);
        m_shownFor.start();
    }
    update();
}

void SlidePlayer::next()
{
    if (m_current + 1 < m_show.entries.size())
        showSlide(m_current + 1);
    else
        close();
}

void SlidePlayer::togglePause()
{
    m_paused = !m_paused;
    if (m_paused) {
        if (m_timer.isActive())
            m_remainingMs = std::max(0, m_remainingMs - int(m_shownFor.elapsed()));
        m_timer.stop();
    } else if (m_current >= 0) {
        m_timer.start(m_remainingMs);
        m_shownFor.start();
    }
    pauseSound(m_paused);
    update();
}

void SlidePlayer::playSound(const QString &name)
{
    m_sound = std::make_unique<WaveFile>();
    m_sound->play(m_folder + name);
}

void SlidePlayer::stopSound()
{
    if (m_sound && m_sound->player() && m_sound->player()->isPlaying())
        m_sound->player()->stop();
    m_sound.reset();
}

void SlidePlayer::pauseSound(bool pause)
{
    for (WaveFile *wave : { m_sound.get(), m_music.get() }) {
        if (wave && wave->player() && wave->player()->isPlaying())
            pause ? wave->player()->pause() : wave->player()->restart();
    }
}

void SlidePlayer::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    QFont font = painter.font();
    font.setPixelSize(std::max(14, height() / 30));
    painter.setFont(font);
    const int captionHeight = painter.fontMetrics().lineSpacing() * kCaptionLines + 16;
    const QRect stage = rect().adjusted(0, 0, 0, -captionHeight);
    painter.setPen(Qt::white);
    if (m_current < 0) {
        painter.drawText(stage, Qt::AlignCenter, tr("This slide show has no pictures."));
        return;
    }
    const ShowEntry &entry = m_show.entries.at(m_current);
    if (!m_picture.isNull()) {
        const QSize fitted = m_picture.size().scaled(stage.size(), Qt::KeepAspectRatio);
        QRect target(QPoint(0, 0), fitted);
        target.moveCenter(stage.center());
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, m_picture);
    } else {
        painter.setPen(Qt::gray);
        painter.drawText(
            stage, Qt::AlignCenter, tr("The picture %1 cannot be shown.").arg(entry.pictureName));
        painter.setPen(Qt::white);
    }
    const QRect caption(0, stage.bottom() + 1, width(), captionHeight);
    painter.drawText(
        caption.adjusted(16, 0, -16, 0), Qt::AlignCenter | Qt::TextWordWrap, entry.notes);
    if (m_paused) {
        painter.setPen(Qt::gray);
        painter.drawText(
            rect().adjusted(0, 8, -16, 0), Qt::AlignTop | Qt::AlignRight, tr("Paused"));
    }
    if (m_firstPaint) {
        // Once, after the first picture is on the screen.
        auto observer = std::exchange(m_firstPaint, {});
        QTimer::singleShot(0, this, observer);
    }
}

void SlidePlayer::keyPressEvent(QKeyEvent *event)
{
    const int count = int(m_show.entries.size());
    switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_PageDown:
        if (m_current + 1 < count)
            showSlide(m_current + 1);
        break;
    case Qt::Key_Left:
    case Qt::Key_PageUp:
        if (m_current > 0)
            showSlide(m_current - 1);
        break;
    case Qt::Key_Home:
        if (count > 0)
            showSlide(0);
        break;
    case Qt::Key_P:
    case Qt::Key_Pause:
        togglePause();
        break;
    case Qt::Key_Escape:
    case Qt::Key_Q:
        close();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void SlidePlayer::closeEvent(QCloseEvent *event)
{
    m_timer.stop();
    stopSound();
    if (m_music && m_music->player() && m_music->player()->isPlaying())
        m_music->player()->stop();
    event->accept();
}
