#include "picturewindow.h"

#include "picture/dibview.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>

namespace glimmerix
{

namespace
{

constexpr int kZoomSteps[] = { 25, 50, 75, 100, 150, 200, 300, 400 };

} // namespace

PictureWindow::PictureWindow(BlockHandle block, const QString &path, QWidget *parent)
    : QMainWindow(parent)
    , m_block(block)
    , m_path(path)
    , m_image(imageFromDibBlock(block))
{
    setObjectName(QStringLiteral("pictureWindow"));
    // Closing the main window ends the program even while a picture is shown.
    setAttribute(Qt::WA_QuitOnClose, false);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(path.isEmpty() ? QStringLiteral("New Image") : path);
    m_area = new QScrollArea(this);
    m_area->setAlignment(Qt::AlignCenter);
    m_area->setBackgroundRole(QPalette::Dark);
    m_picture = new QLabel(m_area);
    m_picture->setObjectName(QStringLiteral("picture"));
    m_picture->setAlignment(Qt::AlignCenter);
    m_area->setWidget(m_picture);
    m_area->setWidgetResizable(false);
    m_area->viewport()->installEventFilter(this);
    setCentralWidget(m_area);

    QToolBar *tools = addToolBar(tr("Zoom"));
    tools->setMovable(false);
    QAction *in = tools->addAction(tr("Zoom In"), this, &PictureWindow::zoomIn);
    in->setShortcut(QKeySequence::ZoomIn);
    QAction *out = tools->addAction(tr("Zoom Out"), this, &PictureWindow::zoomOut);
    out->setShortcut(QKeySequence::ZoomOut);
    tools->addAction(tr("Actual Size"), this, [this] { setZoom(100); });
    tools->addAction(tr("Fit"), this, [this] { setZoom(0); });
    auto *close = new QAction(tr("Close"), this);
    close->setShortcuts({ QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W) });
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);
    if (!m_image.isNull())
        statusBar()->showMessage(tr("%1 x %2 pixels").arg(m_image.width()).arg(m_image.height()));

    QSize wanted = m_image.isNull() ? QSize(400, 300) : m_image.size() + QSize(40, 80);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        wanted = wanted.boundedTo(screen->availableGeometry().size() * 9 / 10);
    resize(wanted.expandedTo(QSize(320, 240)));
    showPicture();
}

PictureWindow::~PictureWindow()
{
    blockFree(m_block);
}

void PictureWindow::setZoom(int percent)
{
    m_zoom = percent;
    showPicture();
}

int PictureWindow::shownPercent() const
{
    if (m_zoom != 0 || m_image.isNull())
        return m_zoom == 0 ? 100 : m_zoom;
    return std::max(1, m_picture->width() * 100 / m_image.width());
}

void PictureWindow::zoomIn()
{
    const int now = shownPercent();
    for (int step : kZoomSteps) {
        if (step > now) {
            setZoom(step);
            return;
        }
    }
}

void PictureWindow::zoomOut()
{
    const int now = shownPercent();
    for (auto it = std::rbegin(kZoomSteps); it != std::rend(kZoomSteps); ++it) {
        if (*it < now) {
            setZoom(*it);
            return;
        }
    }
}

bool PictureWindow::eventFilter(QObject *watched, QEvent *event)
{
    // The fitted size follows the room the scroll area really has. That room is only known once
    // the window's layout has placed the area, which happens after the window's own first resize.
    if (watched == m_area->viewport() && event->type() == QEvent::Resize && m_zoom == 0)
        showPicture();
    return QMainWindow::eventFilter(watched, event);
}

void PictureWindow::showPicture()
{
    if (m_image.isNull()) {
        m_picture->setText(tr("The picture cannot be shown."));
        m_picture->adjustSize();
        return;
    }
    QSize size;
    if (m_zoom == 0) {
        const QSize room = m_area->viewport()->size() - QSize(4, 4);
        size = m_image.size().width() <= room.width() && m_image.height() <= room.height()
            ? m_image.size()
            : m_image.size().scaled(room, Qt::KeepAspectRatio);
    } else {
        size = m_image.size() * m_zoom / 100;
    }
    m_picture->setPixmap(QPixmap::fromImage(m_image.scaled(
        size.expandedTo(QSize(1, 1)), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    m_picture->resize(size.expandedTo(QSize(1, 1)));
}

} // namespace glimmerix
