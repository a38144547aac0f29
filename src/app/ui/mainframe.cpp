#include "mainframe.h"

#include "acquirecommands.h"
#include "album/albumdoc.h"
#include "album/albumfolders.h"
#include "album/albumitem.h"
#include "album/albumundo.h"
#include "album/mediakind.h"
#include "album/ui/albummanager.h"
#include "albumcommands.h"
#include "app/albumlist.h"
#include "app/helptopics.h"
#include "app/mailsender.h"
#include "commandsets.h"
#include "core/appsettings.h"
#include "core/commandids.h"
#include "core/controlids.h"
#include "core/folders.h"
#include "core/imagepath.h"
#include "core/messageids.h"
#include "core/resourceids.h"
#include "framealbumlist.h"
#include "handoverqueue.h"
#include "helpwindow.h"
#include "imaging/imagefile.h"
#include "imaging/upright.h"
#include "launcherbar.h"
#include "media/firstframe.h"
#include "media/ui/mediaplayback.h"
#include "ole/ui/albumtransfer.h"
#include "picture/ui/picturewindow.h"
#include "platform/host.h"
#include "platform/paths.h"
#include "platform/programstarter.h"
#include "platform/strings.h"
#include "publish/ui/publishcommands.h"
#include "view/albumclipboard.h"
#include "view/ui/albumview.h"
#include "view/viewtexts.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QDesktopServices>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include <cstdio>

namespace glimmerix
{

namespace
{

// The album list's place in the album bar.
QRect albumListRect()
{
    return systemLanguageName() == QLatin1String("Japanese") ? QRect(77, 25, 170, 100)
                                                             : QRect(63, 20, 170, 100);
}

SizingEdge sizingEdgeOf(int edge)
{
    constexpr SizingEdge edges[] = { SizingEdge::Left, SizingEdge::Right, SizingEdge::Top,
        SizingEdge::Bottom, SizingEdge::TopLeft, SizingEdge::TopRight, SizingEdge::BottomLeft,
        SizingEdge::BottomRight };
    return edges[std::clamp(edge, 0, 7)];
}

} // namespace

CMainFrame::CMainFrame(QWidget *parent)
    : QMainWindow(parent)
    , m_document(new CAlbumDoc(this))
{
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(loadString(Message::kProductName));
    setWindowIcon(QIcon(QPixmap::fromImage(bundleIcon(Resource::kProgramIcon))));
    m_view = new CAlbumView(m_document, this);
    setCentralWidget(m_view);
    m_view->setFocus(); // the keyboard browses the grid from the start
    m_commands = new AlbumCommands(this, m_document, m_view);
    m_commands->setAddPhotoFolder(photosFolder());
    m_albumListAccess = std::make_unique<FrameAlbumList>(*this);
    m_albumManager = new AlbumManager(*m_document, *m_albumListAccess, this, this);
    m_albumManager->setLastFileSource([] { return appSettings().lastFile(); });
    m_handovers = new HandoverQueue(*m_document, *this);
    // Scripts and the two-process tests follow hand-overs on standard error.
    if (qEnvironmentVariableIsSet("GLIMMERIX_DEBUG_HANDOVER")) {
        connect(m_handovers, &HandoverQueue::handled, this,
            [](int items) { std::fprintf(stderr, "album items: %d\n", items); });
    }
    setHelpViewer(showHelpWindow);
    m_transfer = new AlbumTransfer(*m_view, *m_document);

    createBars();
    m_launcher->setDropFileReader(droppedFile);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
        &CMainFrame::updateCommandStates);
    createCommands();
    for (const CommandEntry *command : m_commandTable.albumBarCommands())
        m_albumBar->addAction(action(command->id));
    setAcceptDrops(true);

    const QScreen *screen = QGuiApplication::primaryScreen();
    if (screen) {
        connect(screen, &QScreen::geometryChanged, this, &CMainFrame::displayChanged);
        const QSize full = screen->availableGeometry().size();
        setMinimumSize(screen->size().width() >= 700 ? QSize(667, 400) : QSize(590, 400));
        resize(full);
        move(screen->availableGeometry().topLeft());
    }

    connect(m_document, &CAlbumDoc::itemsChanged, this, [this] {
        // The size pane reads every media file's size: once per batch of changes, not per item.
        m_albumSizeDirty = true;
        updateCommandStates();
    });
    connect(m_document, &CAlbumDoc::itemChanged, this, &CMainFrame::updateCommandStates);
    connect(m_document, &CAlbumDoc::modifiedChanged, this, &CMainFrame::updateCommandStates);
    connect(
        m_document, &CAlbumDoc::albumListRepaint, m_albumList, [this] { m_albumList->update(); });
    connect(m_document, &CAlbumDoc::albumPathChanged, this, &CMainFrame::onAlbumPathChanged);
    connect(m_document, &CAlbumDoc::newAlbumRequested, m_commands, &AlbumCommands::newAlbum,
        Qt::QueuedConnection);
    connect(m_view, &CAlbumView::currentChanged, this, &CMainFrame::updateCommandStates);
    connect(m_view, &CAlbumView::commandRequested, this, [this](int id) { runCommand(id); });
    connect(m_view, &CAlbumView::openItemRequested, this, &CMainFrame::openItem);
    connect(m_view, &CAlbumView::fieldLabelsChanged, this, &CMainFrame::fieldLabelsChanged);
    connect(m_view, &CAlbumView::pictureRequested, this, &CMainFrame::showPictureFile);
    connect(m_commands, &AlbumCommands::lastFileChanged, this, &CMainFrame::lastFileChanged);

    m_currentAlbumName.clear();
    FillAlbumList(QString());
    recomputeAlbumSize();
    updateCommandStates();
}

CMainFrame::~CMainFrame()
{
    delete m_pictureWindow;
}

CommandSet CMainFrame::frameCommandSet()
{
    CommandSet set;
    set.name = QStringLiteral("frame");
    set.menus = { standardMenu(kFileMenu), standardMenu(kHelpMenu) };
    set.commands = {
        { Command::kOpenInNewWindow, 0, tr("Open Album in New &Window..."),
            [this] { openInNewWindow(); }, {}, { kFileMenu, 130 } },
        { Command::kSendMail, 0, tr("Send by &Mail..."), [this] { sendCurrentByMail(); },
            [this] { return m_view->hasCurrentItem(); }, { kFileMenu, 400 } },
        { Command::kExit, 0, tr("E&xit"), [this] { close(); }, {}, { kFileMenu, 900 },
            QKeySequence::Quit },
        { Command::kAbout, 0, tr("&About Glimmerix..."), [this] { showAbout(); }, {},
            { kHelpMenu, 200 } },
    };
    return set;
}

void CMainFrame::createCommands()
{
    const PublishCommandContext publishing { *m_document, appSettings(), *m_albumListAccess, this,
        [view = m_view] { return view->current(); },
        [view = m_view] { return view->fieldLabels(); }, openHelpTopic };
    CommandSet sets[] = { frameCommandSet(), m_commands->commandSet(),
        viewCommandSet(*m_view, *m_document), albumManagementCommandSet(*m_albumManager),
        launcherCommandSet(*m_launcher), publishCommandSet(publishing),
        searchCommandSet(publishing), onlineServiceCommandSet(*m_document, this), helpCommandSet(),
        m_transfer->commandSet(), acquireCommandSet(*this), undoCommandSet(*m_document) };
    for (CommandSet &set : sets) {
        const QString name = set.name;
        // Two subsystems claiming one number is a programming error the tests would show.
        if (!m_commandTable.add(std::move(set)))
            qWarning("The command set \"%s\" uses a number that is taken.", qPrintable(name));
    }

    for (const CommandEntry *command : m_commandTable.commands()) {
        auto *action = new QAction(CommandTable::menuText(*command), this);
        action->setData(command->id);
        action->setObjectName(QString::number(command->id));
        action->setShortcut(command->shortcut);
        action->setIcon(command->icon);
        connect(action, &QAction::triggered, this, [run = command->run] { run(); });
        m_actions.insert(command->id, action);
    }
    for (const MenuEntry &entry : m_commandTable.menus()) {
        QMenu *menu = menuBar()->addMenu(entry.text);
        menu->setObjectName(entry.key);
        int previous = -1;
        for (const CommandEntry *command : m_commandTable.menuCommands(entry.key)) {
            if (previous >= 0 && CommandTable::separatesGroups(previous, command->place.position))
                menu->addSeparator();
            previous = command->place.position;
            menu->addAction(action(command->id));
        }
        menu->installEventFilter(this);
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::updateCommandStates);
    }
    bindUndoActions(action(Command::kUndo), action(Command::kRedo), m_document->undoStack());
}

void CMainFrame::createBars()
{
    m_albumBar = new QToolBar(tr("Album Bar"), this);
    m_albumBar->setObjectName(QString::number(Resource::kAlbumBar));
    m_albumBar->setMovable(false);
    m_albumBar->setIconSize(QSize(20, 20));
    m_albumBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    auto *albumLabel = new QLabel(tr("Album:"), m_albumBar);
    albumLabel->setContentsMargins(6, 0, 4, 0);
    m_albumBar->addWidget(albumLabel);
    m_albumList = new QComboBox(m_albumBar);
    m_albumList->setObjectName(QString::number(Command::kAlbumList));
    m_albumList->setFixedWidth(albumListRect().width() + 40);
    m_albumList->setMaxVisibleItems(4 * 10);
    m_albumBar->addWidget(m_albumList);
    m_albumBar->addSeparator();
    addToolBar(Qt::TopToolBarArea, m_albumBar);
    connect(
        m_albumList, &QComboBox::currentIndexChanged, m_commands, &AlbumCommands::albumListChanged);

    m_launcherBar = new QToolBar(tr("Launcher Bar"), this);
    m_launcherBar->setObjectName(QString::number(Resource::kLauncherBar));
    m_launcherBar->setMovable(false);
    m_launcher = new LauncherBar(m_launcherBar);
    m_launcherBar->addWidget(m_launcher);
    // Every 30 ms the buttons lose their hover look once the cursor has left them.
    m_hoverTimer = new QTimer(this);
    m_hoverTimer->setInterval(30);
    connect(m_hoverTimer, &QTimer::timeout, this,
        [this] { m_launcher->resetHoverIfOutside(QCursor::pos()); });
    m_hoverTimer->start();
    addToolBar(Qt::BottomToolBarArea, m_launcherBar);

    QStatusBar *status = statusBar();
    status->setObjectName(QString::number(FrameControl::kStatusBar));
    m_messagePane = new QLabel(loadString(Message::kIdleStatus), status);
    m_countPane = new QLabel(status);
    m_countPane->setObjectName(QString::number(FrameControl::kItemCountPane));
    m_sizePane = new QLabel(status);
    m_sizePane->setObjectName(QString::number(Message::kAlbumSizePane));
    status->addWidget(m_messagePane, 1);
    status->addPermanentWidget(m_countPane);
    status->addPermanentWidget(m_sizePane);
}

bool CMainFrame::runCommand(int id)
{
    QAction *command = action(id);
    if (!command)
        return false;
    updateCommandStates();
    // A hidden command is not offered in this window at all.
    if (!command->isEnabled() || !command->isVisible())
        return false;
    command->trigger();
    return true;
}

void CMainFrame::updateCommandStates()
{
    for (const CommandEntry *command : m_commandTable.commands()) {
        if (command->isEnabled)
            action(command->id)->setEnabled(command->isEnabled());
    }

    m_countPane->setText(itemCountPaneText());
    if (!m_albumSizeDirty) {
        m_sizePane->setText(m_albumSizeText);
    } else if (!m_sizeRefreshQueued) {
        m_sizeRefreshQueued = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_sizeRefreshQueued = false;
                m_sizePane->setText(albumSizePaneText());
            },
            Qt::QueuedConnection);
    }
    // A private album of single-file viewing is named after the file it shows.
    const AlbumItem *shown = m_document->isEmbedded() ? m_document->item(0) : nullptr;
    const QString album = shown    ? shown->fileName()
        : m_document->isUntitled() ? m_document->pathName()
                                   : QFileInfo(m_document->pathName()).completeBaseName();
    setWindowTitle(QStringLiteral("%1 - %2%3")
                       .arg(loadString(Message::kProductName), album,
                           m_document->isModified() ? QStringLiteral(" *") : QString()));
}

void CMainFrame::setStatusText(int pane, const QString &text)
{
    if (pane == 0)
        m_messagePane->setText(text.isEmpty() ? loadString(Message::kIdleStatus) : text);
}

QString CMainFrame::itemCountPaneText() const
{
    return itemCountText(m_document->itemCount());
}

QString CMainFrame::albumSizePaneText() const
{
    if (m_albumSizeDirty)
        recomputeAlbumSize();
    return m_albumSizeText;
}

void CMainFrame::recomputeAlbumSize() const
{
    m_albumSizeText = albumSizeText(*m_document);
    m_albumSizeDirty = false;
}

// ---- the album list

void CMainFrame::FillAlbumList(const QString &currentName)
{
    const AlbumListModel model = buildAlbumList(
        albumsFolder(), CAlbumDoc::untitledName(), m_externalAlbumPath, currentName);
    const QSignalBlocker blocker(m_albumList);
    m_albumList->clear();
    m_albumList->addItems(model.entries);
    m_albumList->setCurrentIndex(model.selected);
    m_albumListIndex = model.selected;
    if (currentName.isEmpty())
        m_currentAlbumName = model.currentName;
}

void CMainFrame::selectAlbumEntry(const QString &entry)
{
    const int index = m_albumList->findText(entry);
    if (index < 0)
        return;
    const QSignalBlocker blocker(m_albumList);
    m_albumList->setCurrentIndex(index);
    m_albumListIndex = index;
}

void CMainFrame::onAlbumPathChanged(const QString &path)
{
    if (path != CAlbumDoc::untitledName()) {
        const QString folder = QFileInfo(albumsFolder()).absoluteFilePath();
        if (QFileInfo(path).absolutePath() != folder)
            m_externalAlbumPath = path;
    }
    m_currentAlbumName = path;
    FillAlbumList(path);
    updateCommandStates();
}

void CMainFrame::SelectAlbumByName(const QString &name)
{
    if (name == QLatin1String("NEW") || name == QLatin1String("New")
        || name == CAlbumDoc::untitledName()) {
        m_commands->switchToAlbum(CAlbumDoc::untitledName());
        return;
    }
    QString path = name.isEmpty() ? m_currentAlbumName : albumPathForArgument(name);
    if (path.isEmpty())
        path = CAlbumDoc::untitledName();
    if (path != CAlbumDoc::untitledName()
        && QFileInfo(path).absolutePath() != QFileInfo(albumsFolder()).absoluteFilePath())
        m_externalAlbumPath = QFileInfo(path).absoluteFilePath();
    if (!m_commands->switchToAlbum(path)) {
        // The album could not be opened: show a new album instead of nothing.
        m_commands->switchToAlbum(CAlbumDoc::untitledName());
    }
}

QString CMainFrame::GetSelectedAlbumPath() const
{
    if (!m_albumList || m_albumList->count() == 0)
        return {};
    return albumPathForEntry(
        m_albumList->currentText(), albumsFolder(), CAlbumDoc::untitledName(), m_externalAlbumPath);
}

bool CMainFrame::IsNewAlbumSelected() const
{
    return m_albumList && m_albumList->currentText() == CAlbumDoc::untitledName();
}

void CMainFrame::openInNewWindow()
{
    QStringList entries;
    for (int i = 0; i < m_albumList->count(); ++i)
        entries.append(m_albumList->itemText(i));
    bool accepted = false;
    const QString chosen = QInputDialog::getItem(this, loadString(Message::kNewWindowTitle),
        tr("Album:"), entries, m_albumList->currentIndex(), false, &accepted);
    if (!accepted)
        return;
    programStarter().start({ QApplication::applicationFilePath(),
                               newWindowArguments(chosen, albumsFolder(), CAlbumDoc::untitledName(),
                                   m_externalAlbumPath),
                               {} },
        nullptr);
}

// ---- pictures and items

void CMainFrame::ShowImageWindow(BlockHandle block, const QString &path, int)
{
    // The picture shown so far goes first; a changed one is offered for saving, and when it
    // stays open (its save failed) the new picture is not shown.
    if (m_pictureWindow && !m_pictureWindow->close()) {
        blockFree(block);
        return;
    }
    delete m_pictureWindow;
    m_pictureWindow = new PictureWindow(block, path);
    // The picture belongs to the view's current item when it is that item's file: its sound can
    // be played and recorded there, and saving it renews the item's thumbnail.
    const int current = m_view->current();
    if (const AlbumItem *item = m_document->item(current); item && item->absolutePath() == path)
        m_pictureWindow->setAlbumItem(m_document, current);
    connect(
        m_pictureWindow, &PictureWindow::itemRequested, this, &CMainFrame::showItemInPictureWindow);
    m_pictureWindow->show();
    m_pictureWindow->raise();
    m_pictureWindow->activateWindow();
}

void CMainFrame::showPictureFile(const QString &path)
{
    const WaitCursor wait;
    // The image file layer reports a picture it cannot read itself.
    const BlockHandle block = uprightPicture(openMediaPictureFile(identifyMediaFile(path)), path);
    if (isBlockHandle(block))
        ShowImageWindow(block, path);
}

void CMainFrame::showItemInPictureWindow(int index)
{
    const AlbumItem *item = m_document->item(index);
    if (!item || !m_pictureWindow)
        return;
    m_view->showCurrent(index);
    const QString path = item->absolutePath();
    const MediaFile file = identifyMediaFile(path);
    if (mediaKindOf(file) != MediaKind::Picture) {
        m_pictureWindow->followItem(index);
        openItem(index);
        return;
    }
    const WaitCursor wait;
    // The image file layer reports a picture it cannot read; the window keeps its picture and
    // moves on past it.
    const BlockHandle block = uprightPicture(openMediaPictureFile(file), path);
    if (isBlockHandle(block))
        m_pictureWindow->showItemPicture(block, path, index);
    else
        m_pictureWindow->followItem(index);
}

BlockHandle CMainFrame::GetFirstMpegFrame(const QString &path)
{
    const FirstFrame frame = readFirstVideoFrame(path);
    return frame.result == FirstFrameResult::Ok ? frame.block : BlockHandle(0);
}

void CMainFrame::openItem(int index)
{
    const AlbumItem *item = m_document->item(index);
    if (!item)
        return;
    if (mediaKindOf(identifyMediaFile(item->absolutePath())) == MediaKind::Picture) {
        showPictureFile(item->absolutePath());
        return;
    }
    if (playInMediaWindow(item->absolutePath(), this))
        return;
    // A file neither Glimmerix nor any application of the desktop opens: say so, rather than
    // let the double click pass without a sign.
    if (!programStarter().openDocument(item->absolutePath()))
        host().showMessage(Message::kNoApplicationForFile, { item->absolutePath() });
}

void CMainFrame::sendCurrentByMail()
{
    const AlbumItem *item = m_document->item(m_view->current());
    if (!item)
        return;
    sendFileByMail(item->absolutePath(), item->fileName());
}

void CMainFrame::showAbout()
{
    QMessageBox box(this);
    box.setObjectName(QStringLiteral("aboutDialog"));
    box.setWindowTitle(tr("About %1").arg(loadString(Message::kProductName)));
    const QImage picture = bundleBitmap(Resource::kStartupBitmap);
    if (!picture.isNull())
        box.setIconPixmap(QPixmap::fromImage(picture).scaledToWidth(200, Qt::SmoothTransformation));
    box.setText(QStringLiteral("<b>%1 %2</b>")
                    .arg(loadString(Message::kProductName), QApplication::applicationVersion()));
    box.setInformativeText(tr("An album manager for pictures, video clips and sounds."));
    box.exec();
}

// ---- files from outside

int CMainFrame::addDroppedFiles(const QStringList &paths, QPoint viewPoint)
{
    const WaitCursor wait;
    int position = m_view->dropIndexAt(viewPoint);
    int added = 0;
    const AlbumOrderProbe probe(*m_document);
    {
        const CAlbumDoc::ChangeBatch batch(*m_document);
        for (const QString &path : paths) {
            if (m_document->addFile(path, position) == 1) {
                ++added;
                if (position >= 0)
                    ++position;
            }
        }
    }
    pushRecordedChange(*m_document, probe, tr("Add Files"));
    return added;
}

void CMainFrame::receiveHandedOverFile(const QString &path)
{
    if (qEnvironmentVariableIsSet("GLIMMERIX_DEBUG_HANDOVER"))
        std::fprintf(stderr, "handover: %s\n", path.toUtf8().constData());
    // The sender has its answer at once; the file is added from the event loop once no dialog is
    // open, in the order the files came.
    m_handovers->enqueue(path);
}

std::int64_t CMainFrame::handleInstanceMessage(
    std::uint32_t number, std::int64_t, std::int64_t, const QByteArray &)
{
    return number == kImagePathMessage ? onImagePathMessage() : 0;
}

int CMainFrame::onImagePathMessage()
{
    // The path lives in the sender's memory only while it waits for the answer: copy it now.
    const QString path = readImagePath();
    if (path.isEmpty())
        return 0;
    if (!m_handovers->isWindowFree()) {
        m_handovers->enqueue(path);
        return kImagePathQueued;
    }
    return m_handovers->addNow(path) == 1 ? 1 : 0;
}

void CMainFrame::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent *event)
{
    QStringList paths;
    QStringList folders;
    for (const QUrl &url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            (QFileInfo(url.toLocalFile()).isDir() ? folders : paths).append(url.toLocalFile());
    }
    const QPoint viewPoint = m_view->mapFrom(this, event->position().toPoint());
    if (m_transfer->drop(event->mimeData(), viewPoint)) {
        event->acceptProposedAction();
        return;
    }
    if (paths.isEmpty() && folders.isEmpty())
        return;
    event->acceptProposedAction();
    if (!paths.isEmpty())
        addDroppedFiles(paths, viewPoint);
    // A dropped folder is added with its sub-folders, as Add Folder does, once the drop has
    // ended (the file manager waits for it).
    for (const QString &folder : std::as_const(folders))
        QMetaObject::invokeMethod(
            m_commands, [this, folder] { m_commands->addFolderTree(folder); },
            Qt::QueuedConnection);
}

// ---- window

QRect CMainFrame::snapSizing(const QRect &window, int edge) const
{
    const QSize nonClient = size() - m_view->size();
    const QScreen *screen = this->screen();
    const QSize desktop = screen ? screen->availableGeometry().size() : QSize(4096, 4096);
    return m_view->sizingRect(window, sizingEdgeOf(edge), nonClient, desktop);
}

void CMainFrame::updateSizeHints()
{
    // The window manager snaps an edge drag to whole cells through these hints.
    const QSize nonClient = size() - m_view->size();
    const GridReserve reserve = m_view->reserve();
    setBaseSize(
        reserve.right + nonClient.width(), reserve.bottom + nonClient.height() + grid::kOriginY);
    setSizeIncrement(grid::kPitchX, grid::kPitchY);
}

void CMainFrame::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_placed)
        return;
    m_placed = true;
    updateSizeHints();
    const QRect snapped = snapSizing(QRect(pos(), size()), 7);
    resize(snapped.size().expandedTo(minimumSize()));
}

void CMainFrame::displayChanged()
{
    const QScreen *screen = this->screen();
    if (!screen)
        return;
    m_view->displayChanged();
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

bool CMainFrame::eventFilter(QObject *watched, QEvent *event)
{
    // F1 on a highlighted menu command opens that command's help page.
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F1) {
        if (auto *menu = qobject_cast<QMenu *>(watched)) {
            const QAction *active = menu->activeAction();
            openHelpTopic(active ? helpTopicForCommand(active->data().toInt()) : 0);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool CMainFrame::isClipboardOwner() const
{
    return m_transfer->holdsClipboard();
}

void CMainFrame::closeEvent(QCloseEvent *event)
{
    // A changed picture is offered for saving first: saving it renews an item's thumbnail, which
    // the album's own question then covers.
    if (m_pictureWindow && !m_pictureWindow->close()) {
        event->ignore();
        return;
    }
    if (!m_document->saveModified()) {
        event->ignore();
        return;
    }
    if (isClipboardOwner()) {
        // "No" (the default) empties the clipboard; "Yes" leaves the items to the desktop's
        // clipboard keeper, which takes them over when the program ends.
        const MessageAnswer answer = host().showMessage(Message::kClipboardQuestion, {},
            MessageIcon::Question, MessageButtons::YesNo, { QString(), 1 });
        if (answer == MessageAnswer::No)
            QApplication::clipboard()->clear();
    }
    delete m_pictureWindow;
    event->accept();
    Q_EMIT closed();
}

} // namespace glimmerix
