#include "singlefileviewing.h"

#include "album/albumdoc.h"
#include "album/albumfolders.h"
#include "album/albumitem.h"
#include "album/mediakind.h"
#include "app/commandline.h"
#include "app/filefilter.h"
#include "core/commandids.h"
#include "core/controlids.h"
#include "core/folders.h"
#include "core/messageids.h"
#include "core/resourceids.h"
#include "imaging/imagefile.h"
#include "imaging/upright.h"
#include "mainframe.h"
#include "platform/host.h"
#include "platform/programstarter.h"
#include "platform/strings.h"
#include "view/ui/albumview.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QLayout>
#include <QSizeGrip>
#include <QStatusBar>
#include <QToolBar>

namespace glimmerix
{

namespace
{

// The compact window opens at this size: one cell and its edit rows, not the whole screen.
constexpr QSize kCompactSize(480, 420);

} // namespace

SingleFileViewing::SingleFileViewing(CMainFrame &frame)
    : QObject(&frame)
    , m_frame(frame)
{
    m_timer.setInterval(30);
    connect(&m_timer, &QTimer::timeout, this, &SingleFileViewing::onTick);
    connect(&frame, &CMainFrame::closed, this, [this] { m_closed = true; });
}

void SingleFileViewing::start(const QString &file)
{
    CAlbumDoc &document = *m_frame.document();
    document.setEmbedded(true);
    dressAsCompactFrame(m_frame);
    m_frame.installEventFilter(this);

    if (!file.isEmpty()) {
        // Each way reports its own failure; the album then stays empty and a file is asked for.
        if (!QFileInfo::exists(file)) {
            host().showMessage(Message::kFileMissing, { file });
        } else if (isAlbumFileName(file)) {
            document.onOpenDocument(file);
        } else {
            const CAlbumDoc::ChangeBatch batch(document);
            document.addFile(file, -1);
        }
        // The private album holds the file it was started on: nothing for the user to save yet.
        document.markClean();
    }
    m_timer.start();
}

void SingleFileViewing::dressAsCompactFrame(CMainFrame &frame)
{
    frame.albumList()->setEnabled(false);
    // This window shows one private album: commands that would put another album in its place
    // (dropping this one's changes unasked) or manage the albums of the list have no place here.
    constexpr int kAlbumSwitching[] = { Command::kNew, Command::kOpen, Command::kOpenAlbum,
        Command::kConvertOldAlbums, Command::kRenameAlbum, Command::kCopyAlbum,
        Command::kDeleteAlbum, Command::kCopyAlbumFiles, Command::kAlbumProperties };
    for (int id : kAlbumSwitching) {
        if (QAction *action = frame.action(id))
            action->setVisible(false);
    }
    frame.setMinimumSize(0, 0);
    frame.resize(kCompactSize);

    // The launcher bar would take a third of the small window; the item toolbar gets a row of
    // its own under the album bar.
    if (auto *launcher = frame.findChild<QToolBar *>(QString::number(Resource::kLauncherBar)))
        launcher->hide();
    frame.addToolBarBreak(Qt::TopToolBarArea);
    auto *bar = new QToolBar(QApplication::translate("CMainFrame", "Item"), &frame);
    bar->setMovable(false);
    bar->setObjectName(QString::number(FrameControl::kToolBar));
    bar->setIconSize(QSize(16, 16));
    const QImage pictures = bundleBitmap(Resource::kItemToolBar);
    constexpr int kButtons[] = { Command::kCut, Command::kCopy, Command::kPaste };
    for (int i = 0; i < int(std::size(kButtons)); ++i) {
        QAction *action = frame.action(kButtons[i]);
        if (!action)
            continue;
        if (!pictures.isNull())
            action->setIcon(QIcon(QPixmap::fromImage(pictures.copy(16 * i, 0, 16, 16))));
        bar->addAction(action);
    }
    frame.addToolBar(Qt::TopToolBarArea, bar);
    // The size grip stands in the status bar's corner, where it is found by its number.
    frame.statusBar()->setSizeGripEnabled(false);
    auto *grip = new QSizeGrip(frame.statusBar());
    grip->setObjectName(QString::number(FrameControl::kResizeBar));
    frame.statusBar()->addPermanentWidget(grip);
}

void SingleFileViewing::onTick()
{
    if (m_asking || m_ending)
        return;
    const SingleFileTicks::Step step = m_ticks.tick(m_exitRequested);
    if (step.hideFrame)
        hideFrame();
    if (step.postExit) {
        endProgram();
        return;
    }
    if (step.openItem)
        openItem();
    // Nothing else on show (the picture window was closed, or there is no item to show): the
    // compact window comes forward so the program is never running out of sight.
    if (m_ticks.counter() == SingleFileTicks::kDone && m_hiddenForItem && !m_ending
        && !m_exitRequested && !m_asking && !m_frame.pictureWindow()) {
        m_hiddenForItem = false;
        if (m_frame.view()->current() < 0 && m_frame.document()->itemCount() > 0)
            m_frame.view()->setCurrent(0);
        m_frame.show();
        m_frame.raise();
        m_frame.activateWindow();
    }
}

void SingleFileViewing::hideFrame()
{
    m_frame.hide();
    m_hiddenForItem = true;
    if (QWidget *picture = m_frame.pictureWindow())
        picture->raise();
}

void SingleFileViewing::endProgram()
{
    m_ending = true;
    Q_EMIT ending();
    QMetaObject::invokeMethod(
        &m_frame,
        [this] {
            m_frame.runCommand(Command::kExit);
            if (m_closed)
                return;
            // The user kept the program (a save was cancelled): carry on; the next tick brings
            // the compact window forward unless the picture window is still on show.
            m_ending = false;
            m_exitRequested = false;
            m_hiddenForItem = true;
        },
        Qt::QueuedConnection);
}

void SingleFileViewing::openItem()
{
    if (m_itemOpened)
        return;
    m_itemOpened = true;
    if (m_frame.document()->itemCount() == 0 && !askForFile())
        return;
    showItem(0);
}

bool SingleFileViewing::askForFile()
{
    CAlbumDoc &document = *m_frame.document();
    m_asking = true;
    const QStringList chosen = host().askOpenFileNames({ loadString(Message::kAddFilesTitle),
        addFilesStartFolder(document.addFilesFolder(), photosFolder()),
        qtFileFilter(loadString(Message::kMediaFilter)), false });
    m_asking = false;
    if (chosen.isEmpty() || document.addFile(chosen.constFirst(), -1) != 1)
        return false;
    document.markClean();
    return true;
}

void SingleFileViewing::showItem(int index)
{
    // The window may never have been shown: lay its grid out so the item can become current.
    m_frame.layout()->activate();
    m_frame.view()->layoutView();
    m_frame.view()->setCurrent(index);
    const AlbumItem *item = m_frame.document()->item(index);
    if (!item)
        return;
    const QString path = item->absolutePath();
    const MediaFile file = identifyMediaFile(path);
    if (mediaKindOf(file) == MediaKind::Picture) {
        // The image file layer tells the user why a picture cannot be read.
        const BlockHandle block = uprightPicture(openMediaPictureFile(file), path);
        if (!isBlockHandle(block)) {
            endProgram();
            return;
        }
        m_frame.ShowImageWindow(block, path);
        return;
    }
    if (programStarter().openDocument(path)) {
        m_exitRequested = true;
        return;
    }
    // No application takes this kind of file: say so and leave the item in the compact window.
    host().showMessage(Message::kNoApplicationForFile, { path });
}

bool SingleFileViewing::eventFilter(QObject *watched, QEvent *event)
{
    // Activating the main window while the picture is on show brings the picture forward
    // instead: in this mode the picture window is the program's face.
    if (watched == &m_frame && event->type() == QEvent::WindowActivate && !m_ending) {
        if (QWidget *picture = m_frame.pictureWindow()) {
            hideFrame();
            picture->activateWindow();
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace glimmerix
