#include "picturewindow.h"

#include "album/albumitem.h"
#include "album/importer.h"
#include "core/commandids.h"
#include "core/folders.h"
#include "core/messageids.h"
#include "core/resourceids.h"
#include "core/savenames.h"
#include "imaging/dibblock.h"
#include "imaging/imagefile.h"
#include "imaging/keptmetadata.h"
#include "media/ui/soundplayerwindow.h"
#include "media/ui/soundrecorderdialog.h"
#include "picture/picturezoom.h"
#include "picture/savetarget.h"
#include "picturecanvas.h"
#include "platform/host.h"
#include "platform/strings.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QWheelEvent>

#include <functional>

namespace glimmerix
{

namespace
{

struct ToolButton {
    int command;
    const char *text;
    bool tool; // one of the checkable tools
};

// The buttons in toolbar order, with 0 for a separator; the toolbar bitmap holds their pictures
// in the same order.
constexpr ToolButton kButtons[] = {
    { 0, nullptr, false },
    { Command::kPictureSelect, QT_TRANSLATE_NOOP("PictureWindow", "Select and Crop"), true },
    { Command::kPictureRotate, QT_TRANSLATE_NOOP("PictureWindow", "Rotate"), true },
    { Command::kPictureBrightness, QT_TRANSLATE_NOOP("PictureWindow", "Brightness"), true },
    { Command::kPictureContrast, QT_TRANSLATE_NOOP("PictureWindow", "Contrast"), true },
    { Command::kPictureSaturation, QT_TRANSLATE_NOOP("PictureWindow", "Colour Saturation"), true },
    { Command::kPictureSharpness, QT_TRANSLATE_NOOP("PictureWindow", "Sharpness"), true },
    { Command::kPictureCentreSelection, QT_TRANSLATE_NOOP("PictureWindow", "Centre Selection"),
        false },
    { 0, nullptr, false },
    { Command::kPictureZoomIn, QT_TRANSLATE_NOOP("PictureWindow", "Zoom In"), false },
    { Command::kPictureZoomOut, QT_TRANSLATE_NOOP("PictureWindow", "Zoom Out"), false },
    { 0, nullptr, false },
    { Command::kPictureUndo, QT_TRANSLATE_NOOP("PictureWindow", "Undo"), false },
    { 0, nullptr, false },
    { Command::kPicturePlaySound, QT_TRANSLATE_NOOP("PictureWindow", "Play Sound"), false },
    { Command::kPictureRecordSound, QT_TRANSLATE_NOOP("PictureWindow", "Record Sound"), false },
};

// The status text shown when a tool is chosen.
int toolStatusText(int tool)
{
    switch (tool) {
    case Command::kPictureSelect:
        return Message::kSelectToolStatus;
    case Command::kPictureRotate:
        return Message::kRotateToolStatus;
    case Command::kPictureBrightness:
        return Message::kBrightnessToolStatus;
    case Command::kPictureSharpness:
        return Message::kSharpnessToolStatus;
    default: // contrast and saturation: the string carries the tool's number
        return tool;
    }
}

constexpr double kDegreesPerRadian = 57.29577951307855;

// The item `step` leads to from `from` in `document`, stepping over items whose file is gone;
// -1 when there is none.
int steppedItem(const CAlbumDoc &document, int from, PictureWindow::ItemStep step)
{
    const int count = document.itemCount();
    const bool forward
        = step == PictureWindow::ItemStep::Next || step == PictureWindow::ItemStep::Last;
    int index = step == PictureWindow::ItemStep::First ? 0
        : step == PictureWindow::ItemStep::Last        ? count - 1
        : forward                                      ? from + 1
                                                       : from - 1;
    const int direction = step == PictureWindow::ItemStep::Last ? -1
        : step == PictureWindow::ItemStep::First                ? 1
        : forward                                               ? 1
                                                                : -1;
    for (; index >= 0 && index < count; index += direction) {
        if (document.item(index)->exists())
            return index == from ? -1 : index;
    }
    return -1;
}

} // namespace

PictureWindow::PictureWindow(BlockHandle block, const QString &path, QWidget *parent)
    : QMainWindow(parent)
    , m_editor(std::in_place, block)
    , m_path(path)
{
    setObjectName(QStringLiteral("pictureWindow"));
    // Closing the main window ends the program even while a picture is shown.
    setAttribute(Qt::WA_QuitOnClose, false);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(path.isEmpty() ? QStringLiteral("New Image") : path);
    m_area = new QScrollArea(this);
    m_area->setAlignment(Qt::AlignCenter);
    m_area->setBackgroundRole(QPalette::Dark);
    m_canvas = new PictureCanvas(m_area);
    m_area->setWidget(m_canvas);
    m_area->setWidgetResizable(false);
    m_area->viewport()->installEventFilter(this);
    m_canvas->installEventFilter(this);
    // The window takes the keys itself, so Page Up and Page Down step through the album rather
    // than scroll.
    m_area->setFocusPolicy(Qt::NoFocus);
    setCentralWidget(m_area);
    connect(m_canvas, &PictureCanvas::selectionMade, this, [this] {
        statusBar()->showMessage(loadString(Message::kSelectionMadeStatus));
        updateActions();
    });
    connect(m_canvas, &PictureCanvas::cropRequested, this, &PictureWindow::crop);
    connect(m_canvas, &PictureCanvas::rotationChosen, this, &PictureWindow::rotate);
    buildToolBar();

    addWindowActions();

    m_canvas->setPicture(m_editor->shown(), m_zoom);
    m_valueAction->setVisible(true);
    m_sliderAction->setVisible(true);
    const int toolBarWidth = findChild<QToolBar *>()->sizeHint().width() + 20;
    m_valueAction->setVisible(false);
    m_sliderAction->setVisible(false);
    const QSize picture = m_canvas->pictureSize();
    QSize wanted = picture.isEmpty() ? QSize(400, 300) : picture + QSize(40, 100);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        wanted = wanted.boundedTo(screen->availableGeometry().size() * 9 / 10);
    // Wide enough for every button, the value text and the slider.
    resize(wanted.expandedTo(QSize(std::max(640, toolBarWidth), 240)));
    statusBar()->showMessage(loadString(toolStatusText(Command::kPictureSelect)));
    updateActions();
}

PictureWindow::~PictureWindow() = default;

void PictureWindow::addWindowActions()
{
    struct WindowAction {
        const char *name;
        QList<QKeySequence> keys;
        std::function<void()> run;
    };
    const WindowAction actions[] = {
        // Escape first leaves full screen; only a window shown normally closes.
        { "escape", { QKeySequence(Qt::Key_Escape) },
            [this] { isFullScreen() ? toggleFullScreen() : void(close()); } },
        { "close", { QKeySequence(Qt::CTRL | Qt::Key_W) }, [this] { close(); } },
        { "fullScreen", { QKeySequence(Qt::Key_F11) }, [this] { toggleFullScreen(); } },
        { "actualSize", { QKeySequence(Qt::Key_1) },
            [this] {
                if (m_editor->tool() != Command::kPictureRotate)
                    setZoom(0);
            } },
        { "save", { QKeySequence::Save }, [this] { save(); } },
        { "saveAs", { QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S) }, [this] { saveAs(); } },
    };
    for (const WindowAction &entry : actions) {
        auto *action = new QAction(this);
        action->setObjectName(QLatin1String(entry.name));
        action->setShortcuts(entry.keys);
        connect(action, &QAction::triggered, this, entry.run);
        addAction(action);
    }
}

void PictureWindow::buildToolBar()
{
    QToolBar *bar = addToolBar(tr("Picture"));
    bar->setObjectName(QString::number(Resource::kPictureToolBar));
    bar->setMovable(false);
    const QImage pictures = bundleBitmap(Resource::kPictureToolBar);
    auto *tools = new QActionGroup(this);
    int picture = 0;
    for (const ToolButton &button : kButtons) {
        if (button.command == 0) {
            bar->addSeparator();
            continue;
        }
        QAction *action = bar->addAction(tr(button.text));
        action->setObjectName(QString::number(button.command));
        action->setData(button.command);
        if (!pictures.isNull())
            action->setIcon(QIcon(QPixmap::fromImage(pictures.copy(16 * picture, 0, 16, 16))));
        ++picture;
        if (button.tool) {
            action->setCheckable(true);
            tools->addAction(action);
        }
        const int command = button.command;
        connect(action, &QAction::triggered, this, [this, command] { runCommand(command); });
        m_actions.insert(command, action);
    }
    m_actions.value(Command::kPictureSelect)->setChecked(true);
    m_actions.value(Command::kPictureZoomIn)->setShortcut(QKeySequence::ZoomIn);
    m_actions.value(Command::kPictureZoomOut)->setShortcut(QKeySequence::ZoomOut);
    m_actions.value(Command::kPictureUndo)->setShortcut(QKeySequence::Undo);

    // Stepping through the album; the keys are the window's own (see keyPressEvent), so the
    // slider keeps its Page Up and Page Down.
    bar->addSeparator();
    const std::pair<ItemStep, QStyle::StandardPixmap> steps[]
        = { { ItemStep::Previous, QStyle::SP_ArrowBack },
              { ItemStep::Next, QStyle::SP_ArrowForward } };
    for (const auto &[step, icon] : steps) {
        QAction *action = bar->addAction(style()->standardIcon(icon),
            step == ItemStep::Next ? tr("Next Item") : tr("Previous Item"));
        action->setObjectName(
            step == ItemStep::Next ? QStringLiteral("nextItem") : QStringLiteral("previousItem"));
        connect(action, &QAction::triggered, this, [this, step] { stepItem(step); });
    }

    // The value text (60 pixels) and the slider (120 pixels) sit at the toolbar's right end.
    auto *spacer = new QWidget(bar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    bar->addWidget(spacer);
    m_value = new QLabel(QStringLiteral("0"), bar);
    m_value->setObjectName(QStringLiteral("sliderValue"));
    m_value->setFixedWidth(60);
    m_value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_valueAction = bar->addWidget(m_value);
    m_slider = new QSlider(Qt::Horizontal, bar);
    m_slider->setObjectName(QStringLiteral("adjustSlider"));
    m_slider->setFixedWidth(120);
    m_slider->setRange(0, kSliderMaximum);
    m_slider->setValue(kSliderNeutral);
    m_slider->setPageStep(10);
    m_sliderAction = bar->addWidget(m_slider);
    connect(m_slider, &QSlider::valueChanged, this, &PictureWindow::sliderMoved);
}

void PictureWindow::setAlbumItem(CAlbumDoc *document, int index)
{
    m_document = document;
    m_itemIndex = index;
    const AlbumItem *item = document ? document->item(index) : nullptr;
    m_itemPath = item ? item->absolutePath() : QString();
    updateActions();
}

int PictureWindow::currentItemIndex() const
{
    if (!m_document || m_itemPath.isEmpty())
        return -1;
    const AlbumItem *item = m_document->item(m_itemIndex);
    if (item && item->absolutePath() == m_itemPath)
        return m_itemIndex;
    for (int i = 0; i < m_document->itemCount(); ++i) {
        if (m_document->item(i)->absolutePath() == m_itemPath)
            return i;
    }
    return -1;
}

void PictureWindow::runCommand(int command)
{
    switch (command) {
    case Command::kPictureSelect:
    case Command::kPictureRotate:
    case Command::kPictureBrightness:
    case Command::kPictureContrast:
    case Command::kPictureSaturation:
    case Command::kPictureSharpness:
        chooseTool(command);
        break;
    case Command::kPictureCentreSelection:
        centreSelection();
        break;
    case Command::kPictureZoomIn:
        zoomIn();
        break;
    case Command::kPictureZoomOut:
        zoomOut();
        break;
    case Command::kPictureUndo:
        undo();
        break;
    case Command::kPicturePlaySound:
        playSound();
        break;
    case Command::kPictureRecordSound:
        recordSound();
        break;
    default:
        break;
    }
}

void PictureWindow::chooseTool(int tool)
{
    if (tool == m_editor->tool()) {
        m_actions.value(tool)->setChecked(true);
        return;
    }
    const int before = m_editor->tool();
    if (m_editor->chooseTool(tool) == PictureEditor::ToolChoice::NeedsTrueColor) {
        host().showMessage(Message::kSharpnessNeedsTrueColor, {}, MessageIcon::Warning);
        m_actions.value(before)->setChecked(true);
        return;
    }
    m_actions.value(tool)->setChecked(true);
    if (before == Command::kPictureSelect)
        m_canvas->clearSelection();
    statusBar()->showMessage(loadString(toolStatusText(tool)));
    const std::optional<Adjustment> adjustment = m_editor->adjustment();
    m_valueAction->setVisible(adjustment.has_value());
    m_sliderAction->setVisible(adjustment.has_value());
    if (adjustment) {
        setSliderQuietly(m_editor->sliderPosition());
        m_slider->setFocus();
    }
    m_canvas->setMode(tool == Command::kPictureSelect ? PictureCanvas::Mode::Select
            : tool == Command::kPictureRotate         ? PictureCanvas::Mode::Rotate
                                                      : PictureCanvas::Mode::None);
    showShownPicture();
}

void PictureWindow::setSliderQuietly(int position)
{
    const QSignalBlocker quiet(m_slider);
    m_slider->setValue(position);
    if (const std::optional<Adjustment> adjustment = m_editor->adjustment())
        m_value->setText(sliderValueText(*adjustment, position));
}

void PictureWindow::sliderMoved(int position)
{
    const std::optional<Adjustment> adjustment = m_editor->adjustment();
    if (!adjustment)
        return;
    m_value->setText(sliderValueText(*adjustment, position));
    m_editor->moveSlider(position);
    showShownPicture();
}

void PictureWindow::crop()
{
    const WaitCursor wait;
    if (!m_editor->crop(m_canvas->selection()))
        return;
    m_canvas->clearSelection();
    showShownPicture();
}

void PictureWindow::rotate(double radians)
{
    const WaitCursor wait;
    m_editor->rotate(radians * kDegreesPerRadian);
    showShownPicture();
}

void PictureWindow::undo()
{
    if (!m_editor->undo())
        return;
    if (m_editor->adjustment())
        setSliderQuietly(m_editor->sliderPosition());
    m_canvas->clearSelection();
    showShownPicture();
}

void PictureWindow::centreSelection()
{
    QRect selection = m_canvas->selection();
    if (selection.isEmpty())
        return;
    selection.moveCenter(QRect(QPoint(0, 0), m_canvas->pictureSize()).center());
    m_canvas->setSelection(selection);
}

void PictureWindow::setZoom(int zoom)
{
    m_userZoomed = true;
    m_zoom = std::clamp(zoom, kZoomMinimum, kZoomMaximum);
    showShownPicture();
}

void PictureWindow::zoomIn()
{
    setZoom(steppedZoom(m_zoom, 1));
}

void PictureWindow::zoomOut()
{
    setZoom(steppedZoom(m_zoom, -1));
}

void PictureWindow::playSound()
{
    const int index = currentItemIndex();
    if (index < 0 || m_document->item(index)->attachmentPath().isEmpty())
        return;
    if (!m_player) {
        m_player = new SoundPlayerWindow(this);
        m_player->setWindowFlag(Qt::Window);
    }
    m_player->play(m_document->item(index)->attachmentPath());
}

void PictureWindow::recordSound()
{
    if (currentItemIndex() < 0)
        return;
    const QString audioFolder = Folders().audioFolder();
    QDir().mkpath(audioFolder);
    SoundRecorderDialog dialog(audioFolder, this);
    dialog.setAlbumTarget([this](const QString &path) {
        const int index = currentItemIndex();
        if (index < 0)
            return false;
        m_document->setAttachmentPath(index, path);
        return true;
    });
    dialog.exec();
    updateActions();
}

void PictureWindow::showShownPicture()
{
    m_canvas->setPicture(m_editor->shown(), m_zoom);
    updateActions();
}

void PictureWindow::updateActions()
{
    const int tool = m_editor->tool();
    const bool rotating = tool == Command::kPictureRotate;
    m_actions.value(Command::kPictureCentreSelection)
        ->setEnabled(!rotating && !m_canvas->selection().isEmpty());
    m_actions.value(Command::kPictureZoomIn)->setEnabled(!rotating);
    m_actions.value(Command::kPictureZoomOut)->setEnabled(!rotating);
    m_actions.value(Command::kPictureUndo)->setEnabled(m_editor->canUndo());
    const int index = currentItemIndex();
    const bool sound = index >= 0 && !m_document->isEmbedded();
    m_actions.value(Command::kPicturePlaySound)->setVisible(sound);
    m_actions.value(Command::kPictureRecordSound)->setVisible(sound);
    m_actions.value(Command::kPicturePlaySound)
        ->setEnabled(sound && !m_document->item(index)->attachmentPath().isEmpty());
    m_actions.value(Command::kPictureRecordSound)->setEnabled(sound);
    for (const auto &[name, step] : { std::pair(QStringLiteral("nextItem"), ItemStep::Next),
             std::pair(QStringLiteral("previousItem"), ItemStep::Previous) }) {
        if (auto *action = findChild<QAction *>(name))
            action->setEnabled(index >= 0 && steppedItem(*m_document, index, step) >= 0);
    }
}

bool PictureWindow::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == m_canvas || watched == m_area->viewport())
        && event->type() == QEvent::MouseButtonDblClick
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        toggleFullScreen();
        return true;
    }
    if ((watched == m_canvas || watched == m_area->viewport()) && event->type() == QEvent::Wheel) {
        auto *wheel = static_cast<QWheelEvent *>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            const int delta = wheel->angleDelta().y();
            if (delta != 0 && m_editor->tool() != Command::kPictureRotate) {
                const QPoint at = m_area->viewport()->mapFrom(
                    static_cast<QWidget *>(watched), wheel->position().toPoint());
                zoomAbout(delta > 0 ? 1 : -1, at);
            }
            return true;
        }
    }
    // The window opens with the picture fitted to the room its scroll area really has, which is
    // known only once the layout has placed the area.
    if (watched == m_area->viewport() && event->type() == QEvent::Resize && !m_userZoomed) {
        const int fitting = fittingZoom(m_canvas->pictureSize(), m_area->viewport()->size());
        if (fitting != m_zoom) {
            m_zoom = fitting;
            showShownPicture();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void PictureWindow::closeEvent(QCloseEvent *event)
{
    if (!mayDropChanges()) {
        event->ignore();
        return;
    }
    event->accept();
}

void PictureWindow::keyPressEvent(QKeyEvent *event)
{
    const std::optional<ItemStep> step = [event]() -> std::optional<ItemStep> {
        if (event->modifiers() & ~Qt::KeypadModifier)
            return std::nullopt;
        switch (event->key()) {
        case Qt::Key_PageDown:
        case Qt::Key_Space:
            return ItemStep::Next;
        case Qt::Key_PageUp:
        case Qt::Key_Backspace:
            return ItemStep::Previous;
        case Qt::Key_Home:
            return ItemStep::First;
        case Qt::Key_End:
            return ItemStep::Last;
        default:
            return std::nullopt;
        }
    }();
    if (!step) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    stepItem(*step);
    event->accept();
}

bool PictureWindow::stepItem(ItemStep step)
{
    const int from = currentItemIndex();
    if (from < 0)
        return false;
    const int to = steppedItem(*m_document, from, step);
    if (to < 0 || !mayDropChanges())
        return false;
    Q_EMIT itemRequested(to);
    return true;
}

void PictureWindow::showItemPicture(BlockHandle block, const QString &path, int index)
{
    m_editor.emplace(block);
    m_path = path;
    setWindowTitle(path);
    m_canvas->clearSelection();
    m_canvas->setMode(PictureCanvas::Mode::Select);
    m_actions.value(Command::kPictureSelect)->setChecked(true);
    m_valueAction->setVisible(false);
    m_sliderAction->setVisible(false);
    statusBar()->showMessage(loadString(toolStatusText(Command::kPictureSelect)));
    setAlbumItem(m_document, index);
    // Each picture opens fitted to the window when it is larger, as the first one did.
    m_canvas->setPicture(m_editor->shown(), 0);
    m_userZoomed = false;
    m_zoom = fittingZoom(m_canvas->pictureSize(), m_area->viewport()->size());
    showShownPicture();
}

void PictureWindow::followItem(int index)
{
    m_itemIndex = index;
    const AlbumItem *item = m_document ? m_document->item(index) : nullptr;
    m_itemPath = item ? item->absolutePath() : QString();
    updateActions();
}

void PictureWindow::toggleFullScreen()
{
    const bool full = !isFullScreen();
    // Full screen shows the picture alone; the bars come back with the window.
    if (QToolBar *bar = findChild<QToolBar *>())
        bar->setVisible(!full);
    statusBar()->setVisible(!full);
    if (full)
        showFullScreen();
    else
        showNormal();
}

void PictureWindow::zoomAbout(int direction, QPoint at)
{
    const QPoint canvasPoint = m_canvas->mapFrom(m_area->viewport(), at);
    const QPoint picturePoint = m_canvas->toPicture(canvasPoint);
    setZoom(steppedZoom(m_zoom, direction));
    // The same picture point goes back under the cursor as far as the scroll bars allow.
    const QPoint now = m_canvas->toWidget(picturePoint);
    m_area->horizontalScrollBar()->setValue(now.x() - at.x());
    m_area->verticalScrollBar()->setValue(now.y() - at.y());
}

bool PictureWindow::mayDropChanges()
{
    return !m_editor->changed() || saveOnClose();
}

bool PictureWindow::save()
{
    return writePicture(false);
}

bool PictureWindow::saveAs()
{
    return writePicture(true);
}

bool PictureWindow::saveOnClose()
{
    // Yes saves, No closes without saving, Cancel (or Escape) goes back to the window with every
    // change kept; so does Cancel in the file question.
    const QString name = m_path.isEmpty() ? windowTitle() : QFileInfo(m_path).fileName();
    switch (host().showMessage(Message::kSavePictureChanges, { name }, MessageIcon::Question,
        MessageButtons::YesNoCancel)) {
    case MessageAnswer::No:
        return true;
    case MessageAnswer::Yes:
        break;
    default:
        return false;
    }
    return writePicture(true);
}

bool PictureWindow::writePicture(bool askName)
{
    // A picture of today's types (HEIC, RAW, PNG, WebP, ...) is offered as JPEG, PNG or TIFF and
    // never written over in another format; the album's own types keep their rule.
    const std::optional<SaveOffer> offer = pictureSaveOffer(m_path);
    // The file type offered is the last three characters of the picture's path.
    const QString type = offer ? offer->suffix
        : m_path.isEmpty()     ? QStringLiteral("jpg")
                               : m_path.right(3);
    // Save goes over the picture's own file without a question only where that file's format
    // is the one written.
    const bool overItself
        = !askName && !m_path.isEmpty() && (!offer || offer->proposedPath == m_path);
    const QString chosen = overItself
        ? m_path
        : finalSaveName(
            host().askSaveFileName({ tr("Save Picture"), offer ? offer->proposedPath : m_path,
                offer ? offer->filter : QStringLiteral("%1 (*.%1)").arg(type) }),
            type);
    if (chosen.isEmpty())
        return false;
    const WaitCursor wait;
    // The picture's metadata is read first, as the save may go over the file it came from.
    const KeptMetadata metadata = KeptMetadata::read(m_path);
    // What the window shows is saved, a pending preview included; it is not committed, so the
    // window goes on as it was when it stays open.
    if (offer) {
        const WriteResult written = savePictureAs(m_editor->shown(), chosen, m_path);
        if (written.status != DecodeStatus::Ok) {
            host().showText(formatString(Message::kPictureNotSaved, { chosen })
                    + QStringLiteral("\n") + written.detail,
                MessageIcon::Warning, MessageButtons::Ok, Message::kPictureNotSaved);
            return false;
        }
    } else if (SaveImageFile(m_editor->shown(), chosen) != 1) {
        // The changes stay in the window: another name, or closing without saving, is the
        // user's choice.
        host().showMessage(Message::kPictureNotSaved, { chosen }, MessageIcon::Warning);
        return false;
    }
    // The saved pixels are upright: the metadata goes over with orientation 1. A picture saved
    // without it is still saved; the user is told.
    if (const BITMAPINFOHEADER *header = checkedDibHeader(m_editor->shown())) {
        const QString problem = metadata.writeInto(chosen, header->biWidth, header->biHeight);
        if (!problem.isEmpty())
            host().showText(chosen + QStringLiteral(": ") + problem, MessageIcon::Warning,
                MessageButtons::Ok, 0);
    }
    const int index = currentItemIndex();
    if (index >= 0 && QFileInfo(chosen).absoluteFilePath() == m_itemPath)
        rebuildThumbnail(*m_document, index);
    // The window stays open on the file just written.
    m_editor->markSaved();
    if (QFileInfo(chosen).absoluteFilePath() != QFileInfo(m_path).absoluteFilePath()) {
        m_path = chosen;
        setWindowTitle(chosen);
    }
    return true;
}

} // namespace glimmerix
