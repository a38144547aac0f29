#include "presentationwindow.h"

#include "album/albumdoc.h"
#include "core/messageids.h"
#include "media/wavefile.h"
#include "media/waveplayer.h"
#include "platform/host.h"
#include "platform/screensaverinhibit.h"
#include "platform/strings.h"
#include "presentationdialog.h"
#include "publish/presentationframe.h"
#include "publish/transitions.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QThread>
#include <QTimer>

namespace glimmerix
{

namespace
{
constexpr int kCaptionPointSize = 16;
} // namespace

PresentationWindow::PresentationWindow(
    const PresentationSettings &settings, const QList<SlideRow> &slides, QWidget *mainWindow)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint)
    , m_slides(slides)
    , m_settings(settings)
    , m_schedule(settings, slides, *this)
    , m_mainWindow(mainWindow)
    , m_timer(new QTimer(this))
    , m_random(quint32(QDateTime::currentMSecsSinceEpoch() / 100))
{
    setObjectName(QStringLiteral("PDPresentWnd"));
    setWindowTitle(QStringLiteral("Slide Show"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::BlankCursor);
    setFocusPolicy(Qt::StrongFocus);
    connect(m_timer, &QTimer::timeout, this, [this] { m_schedule.tick(); });
}

PresentationWindow::~PresentationWindow() = default;

void PresentationWindow::start()
{
    QScreen *screen = m_mainWindow ? m_mainWindow->screen() : QGuiApplication::primaryScreen();
    if (screen)
        setGeometry(screen->geometry());
    m_screen = QImage(size(), QImage::Format_RGB32);
    m_screen.fill(Qt::black);
    if (m_mainWindow)
        m_mainWindow->hide();
    m_inhibit = std::make_unique<ScreenSaverInhibit>(QStringLiteral("Slide show"));
    showFullScreen();
    activateWindow();
    setFocus();
    m_schedule.start();
}

void PresentationWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_screen.size() != size()) {
        QImage resized(size(), QImage::Format_RGB32);
        resized.fill(Qt::black);
        QPainter(&resized).drawImage(0, 0, m_screen);
        m_screen = resized;
    }
}

QImage PresentationWindow::slideFrame(int index, bool &loaded) const
{
    const QImage picture = loadPresentationPicture(m_slides.at(index).path);
    loaded = !picture.isNull();
    const int depth = screen() ? screen()->depth() : 24;
    return composeSlide(picture, size(), depth);
}

void PresentationWindow::showSlide(int index)
{
    if (index < 0 || index >= m_slides.size())
        return;
    const SlideRow &row = m_slides.at(index);
    bool loaded = false;
    const QImage frame = slideFrame(index, loaded);
    int effect = 0;
    if (m_settings.transitions) {
        effect
            = m_fixedEffect >= 0 ? m_fixedEffect : int(m_random.bounded(1, kTransitionCount + 1));
    }
    runTransition(effect, frame);
    // A picture that cannot be read leaves the screen black and says so with its path.
    const QString caption
        = loaded ? row.caption : loadString(Message::kPictureCannotBeShown) + row.path;
    QFont font = this->font();
    font.setPointSize(kCaptionPointSize);
    font.setBold(true);
    drawCaption(m_screen, caption, font);
    repaint();
}

void PresentationWindow::runTransition(int effect, const QImage &target)
{
    m_lastEffect = effect;
    const QImage from = m_screen.copy();
    const int steps = effect > 0 ? transitionInfo(effect).steps : 1;
    const int total = effect > 0 ? int(m_settings.effectTime.count()) : 0;
    QElapsedTimer clock;
    clock.start();
    for (int step = 0; step < steps; ++step) {
        drawTransitionStep(effect, from, target, step, steps, m_screen);
        repaint();
        if (m_stepObserver)
            m_stepObserver(effect, step, steps);
        waitUntil(clock, stepDeadlineMs(total, step, steps));
    }
}

void PresentationWindow::waitUntil(const QElapsedTimer &clock, int deadline)
{
    // Events run while waiting (a key press is noted by the schedule and acted on when the
    // drawing is done); the rest of the time is slept in short slices.
    for (qint64 left = deadline - clock.elapsed(); left > 0; left = deadline - clock.elapsed()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, int(left));
        const qint64 rest = deadline - clock.elapsed();
        if (rest > 0)
            QThread::msleep(std::min<qint64>(rest, 2));
    }
}

void PresentationWindow::startSlideTimer(int periodMs)
{
    m_timer->start(periodMs);
}

void PresentationWindow::stopSlideTimer()
{
    m_timer->stop();
}

bool PresentationWindow::playSound(const QString &path)
{
    stopSound();
    if (!m_sound)
        m_sound = std::make_unique<WaveFile>();
    if (!m_sound->play(path))
        return false;
    // The end is reported from the event loop, so a sound stopped on the way out is not taken
    // for one that ended by itself while the schedule is still in a call.
    connect(
        m_sound->player(), &WavePlayer::finished, this, [this] { m_schedule.soundEnded(); },
        Qt::ConnectionType(Qt::QueuedConnection | Qt::UniqueConnection));
    return true;
}

void PresentationWindow::stopSound()
{
    if (m_sound && m_sound->player() && m_sound->player()->isPlaying()) {
        const QSignalBlocker quiet(m_sound->player());
        m_sound->player()->stop();
    }
}

bool PresentationWindow::soundPlaying() const
{
    return m_sound && m_sound->player() && m_sound->player()->isPlaying();
}

void PresentationWindow::closeShow()
{
    if (m_closing)
        return;
    m_closing = true;
    close();
}

void PresentationWindow::closeEvent(QCloseEvent *event)
{
    m_closing = true;
    if (!m_schedule.isClosed())
        m_schedule.closeRequested();
    m_timer->stop();
    stopSound();
    m_inhibit.reset();
    unsetCursor();
    if (m_mainWindow) {
        m_mainWindow->show();
        m_mainWindow->raise();
        m_mainWindow->activateWindow();
    }
    event->accept();
}

void PresentationWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_screen);
}

void PresentationWindow::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        m_schedule.closeRequested();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        m_schedule.nextRequested();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void PresentationWindow::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_schedule.closeRequested();
}

PresentationWindow *startPresentation(
    const CAlbumDoc &document, QWidget *mainWindow, std::function<void(int topic)> openHelp)
{
    if (!anyItemFileExists(document))
        return nullptr;
    const QList<SlideRow> slides = buildSlideTable(document);
    const QString albumName = QFileInfo(document.pathName()).completeBaseName();
    PresentationDialog dialog(
        presentationSettings(), slides, albumName, mainWindow, std::move(openHelp));
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    presentationSettings() = dialog.settings();
    return startPresentationNow(document, mainWindow);
}

PresentationWindow *startPresentationNow(const CAlbumDoc &document, QWidget *mainWindow)
{
    const QList<SlideRow> slides = buildSlideTable(document);
    if (slides.isEmpty()) {
        host().showMessage(Message::kNoPicturesToShow);
        return nullptr;
    }
    auto *window = new PresentationWindow(presentationSettings(), slides, mainWindow);
    window->start();
    return window;
}

} // namespace glimmerix
