#include "launcherbar.h"

#include "core/appsettings.h"
#include "core/resourceids.h"
#include "launchericon.h"
#include "launchersetupdialog.h"

#include "platform/host.h"
#include "platform/strings.h"

#include <QDragEnterEvent>
#include <QFile>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHelpEvent>
#include <QMimeData>
#include <QPainter>
#include <QStandardPaths>
#include <QToolTip>
#include <QUrl>

namespace glimmerix
{

namespace
{

constexpr int kBarHeight = 65;
// Room kept right of the empty bar's text.
constexpr int kEmptyTextMargin = 10;
constexpr int kIconOffset = 11;
constexpr int kIconSize = 32;

QString firstLocalFile(const QMimeData *data)
{
    if (!data || !data->hasUrls())
        return {};
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile())
            return url.toLocalFile();
    }
    return {};
}

} // namespace

LauncherBar::LauncherBar(QWidget *parent)
    : QWidget(parent)
    , m_dropFileReader(firstLocalFile)
{
    setObjectName(QStringLiteral("launcherBar"));
    setMouseTracking(true);
    setAcceptDrops(true);
    // The bar fills its tool bar: the empty bar's text needs more than one button, and a right
    // click anywhere on it must reach the set-up dialog, not the window's menu of tool bars.
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(kBarHeight);
    m_looks[0] = bundleBitmap(Resource::kLauncherNormalBitmap);
    m_looks[1] = bundleBitmap(Resource::kLauncherPressedBitmap);
    m_looks[2] = bundleBitmap(Resource::kLauncherHoverBitmap);
}

QSize LauncherBar::sizeHint() const
{
    if (m_state.count() == 0) {
        const int text = fontMetrics().horizontalAdvance(loadString(Message::kEmptyStatus));
        return { launcherButtonRect(0).left + text + kEmptyTextMargin, kBarHeight };
    }
    return { launcherButtonRect(m_state.count()).left, kBarHeight };
}

QSize LauncherBar::minimumSizeHint() const
{
    return { launcherButtonRect(1).left, kBarHeight };
}

QRect LauncherBar::emptyTextRect() const
{
    return rect().adjusted(launcherButtonRect(0).left, 0, -kEmptyTextMargin, 0);
}

void LauncherBar::setPrograms(const QList<LauncherEntry> &programs)
{
    m_state.setEntries(programs);
    reloadIcons();
    updateGeometry();
    update();
}

void LauncherBar::useSettings(AppSettings &settings)
{
    setPrograms(launcherEntriesFrom(settings.externalApps()));
    connect(this, &LauncherBar::programsChanged, this,
        [&settings](const QList<LauncherEntry> &programs) {
            settings.setExternalApps(externalAppsFrom(programs));
        });
}

void LauncherBar::reloadIcons()
{
    m_icons.clear();
    for (const LauncherEntry &entry : m_state.entries())
        m_icons << launcherProgramIcon(entry.path);
}

bool LauncherBar::runSetup(int preselect)
{
    const QString label = preselect >= 0 && preselect < m_state.count()
        ? m_state.entries()[preselect].label
        : QString();
    LauncherSetupDialog dialog(m_state.entries(), label, this);
    if (m_chooser)
        dialog.setProgramChooser(m_chooser);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (accepted) {
        setPrograms(dialog.programs());
        Q_EMIT programsChanged(m_state.entries());
    }
    m_state.resetLooks();
    repaint();
    return accepted;
}

void LauncherBar::resetHoverIfOutside(const QPoint &globalPos)
{
    if (buttonArea().contains(mapFromGlobal(globalPos)))
        return;
    if (m_state.resetHover())
        update();
}

bool LauncherBar::dropFile(const QPoint &pos, const QString &file)
{
    const int index = m_state.buttonAt(pos);
    m_state.resetHover();
    update();
    if (index < 0 || file.isEmpty())
        return false;
    return startLauncherProgramWithFile(m_state.entries()[index], file);
}

void LauncherBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_state.count() == 0) {
        // An empty bar says how to fill it.
        // A bar too narrow for the whole text shows it cut with an ellipsis; its tooltip has it
        // whole.
        painter.setPen(palette().color(QPalette::Disabled, QPalette::WindowText));
        const QRect area = emptyTextRect();
        painter.drawText(area, Qt::AlignVCenter | Qt::AlignLeft,
            fontMetrics().elidedText(
                loadString(Message::kEmptyStatus), Qt::ElideRight, area.width()));
        return;
    }
    for (int index = 0; index < m_state.count(); ++index) {
        const QRect rect = m_state.entries()[index].rect.toRect();
        const QImage &look = m_looks[int(m_state.look(index))];
        if (look.isNull())
            painter.fillRect(rect, palette().button());
        else
            painter.drawImage(rect, look);
        const QPoint iconPos = rect.topLeft() + QPoint(kIconOffset, kIconOffset);
        if (index < m_icons.size())
            m_icons[index].paint(&painter, QRect(iconPos, QSize(kIconSize, kIconSize)));
    }
}

void LauncherBar::mouseMoveEvent(QMouseEvent *event)
{
    const QString status = m_state.mouseMove(event->position().toPoint());
    host().setStatusText(0, status);
    update();
}

void LauncherBar::leaveEvent(QEvent *)
{
    // The status pane and the hover look belong to the bar only while the cursor is on it.
    host().setStatusText(0, loadString(Message::kIdleStatus));
    if (m_state.resetHover())
        update();
}

void LauncherBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton)
        return;
    if (m_state.press(event->position().toPoint()))
        update();
}

void LauncherBar::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        const int index = m_state.releaseLeft(pos);
        update();
        if (index >= 0)
            startLauncherProgram(m_state.entries()[index]);
        return;
    }
    if (event->button() == Qt::RightButton) {
        const LauncherState::SetupRequest request = m_state.releaseRight(pos);
        update();
        runSetup(request.preselect);
    }
}

bool LauncherBar::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const int index = m_state.buttonAt(help->pos());
        if (m_state.count() == 0) {
            QToolTip::showText(help->globalPos(), loadString(Message::kEmptyStatus), this, rect());
        } else if (index < 0) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), m_state.entries()[index].label, this,
                m_state.entries()[index].rect.toRect());
        }
        return true;
    }
    return QWidget::event(event);
}

void LauncherBar::dragEnterEvent(QDragEnterEvent *event)
{
    if (m_dropFileReader(event->mimeData()).isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
}

void LauncherBar::dragMoveEvent(QDragMoveEvent *event)
{
    const bool acceptable = !m_dropFileReader(event->mimeData()).isEmpty();
    const int index = m_state.dragMove(event->position().toPoint(), acceptable);
    update();
    if (index < 0) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void LauncherBar::dragLeaveEvent(QDragLeaveEvent *)
{
    if (m_state.resetHover())
        update();
}

void LauncherBar::dropEvent(QDropEvent *event)
{
    const QString file = m_dropFileReader(event->mimeData());
    if (file.isEmpty()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    dropFile(event->position().toPoint(), file);
}

} // namespace glimmerix
