#include "albumview.h"

#include "album/albumdoc.h"
#include "album/albumformat.h"
#include "album/albumitem.h"
#include "album/albumundo.h"
#include "album/copyfiles.h"
#include "album/mediakind.h"
#include "album/replaceitempath.h"
#include "cellwindow.h"
#include "core/commandids.h"
#include "core/controlids.h"
#include "core/messageids.h"
#include "imaging/picturefacts.h"
#include "media/clipfacts.h"
#include "media/ui/soundplayerwindow.h"
#include "multilineedit.h"
#include "platform/host.h"
#include "platform/strings.h"
#include "view/gridkeys.h"
#include "view/viewtexts.h"
#include "viewdialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <QUndoStack>
#include <QWheelEvent>

namespace glimmerix
{

namespace
{

constexpr int kInitialCells = 10;
constexpr int kEditLimit = 255;
constexpr int kCaptionRow = 0;
constexpr int kKeywordsRow = 1;
constexpr int kDescriptionRow = 2;

// The album's items' own selection marks, seen through the selection rule's interface.
class DocumentMarks final : public SelectionMarks
{
public:
    explicit DocumentMarks(CAlbumDoc &document)
        : m_document(document)
    {
    }
    int count() const override { return m_document.itemCount(); }
    bool isSelected(int index) const override { return m_document.item(index)->isSelected(); }
    void setSelected(int index, bool selected) override
    {
        m_document.item(index)->setSelected(selected);
    }

private:
    CAlbumDoc &m_document;
};

ClickKeys clickKeysOf(Qt::KeyboardModifiers keys)
{
    if (keys & Qt::ControlModifier)
        return ClickKeys::Control;
    if (keys & Qt::ShiftModifier)
        return ClickKeys::Shift;
    return ClickKeys::Plain;
}

QString defaultFieldLabel(int row)
{
    static constexpr int kLabels[3] = { 50315, 50316, 50317 };
    return loadString(kLabels[row]);
}

bool hasUsableThumbnail(const AlbumItem &item)
{
    return item.hasThumbnail() && item.exists();
}

} // namespace

CAlbumView::CAlbumView(CAlbumDoc *document, QWidget *parent)
    : QWidget(parent)
    , m_document(document)
{
    setObjectName(QStringLiteral("albumView"));
    QPalette background = palette();
    background.setColor(QPalette::Window, palette().color(QPalette::Window).darker(112));
    setPalette(background);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::TabFocus);
    m_cellColor = palette().color(QPalette::Button).lighter(104);

    m_scrollBar = new QScrollBar(Qt::Vertical, this);
    m_scrollBar->setObjectName(QString::number(ViewControl::kScrollBar));
    m_scrollBar->setTracking(false);
    connect(m_scrollBar, &QScrollBar::valueChanged, this,
        [this](int value) { scrollGrid(ScrollAction::ThumbPosition, value); });

    m_infoLine = new QLabel(this);
    m_infoLine->setObjectName(QStringLiteral("infoLine"));
    m_emptyHint = new QLabel(tr("Add files or drop them here"), this);
    m_emptyHint->setObjectName(QStringLiteral("emptyHint"));
    m_emptyHint->setAlignment(Qt::AlignCenter);
    m_emptyHint->setForegroundRole(QPalette::PlaceholderText);
    QFont hintFont = m_emptyHint->font();
    hintFont.setPointSizeF(hintFont.pointSizeF() * 1.5);
    m_emptyHint->setFont(hintFont);

    const int labelIds[3] = { ViewControl::kCaptionLabel, ViewControl::kKeywordsLabel,
        ViewControl::kDescriptionLabel };
    const int editIds[3]
        = { ViewControl::kCaptionEdit, ViewControl::kKeywordsEdit, ViewControl::kDescriptionEdit };
    for (int row = 0; row < 3; ++row) {
        m_fieldLabels.append(defaultFieldLabel(row));
        m_labels[row] = new QLabel(m_fieldLabels[row], this);
        m_labels[row]->setObjectName(QString::number(labelIds[row]));
        m_labels[row]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (row == kDescriptionRow) {
            m_descriptionEdit = new MultiLineEdit(this);
            m_descriptionEdit->setMaxLength(kEditLimit);
        } else {
            m_edits[row] = new QLineEdit(this);
            m_edits[row]->setMaxLength(kEditLimit);
        }
        editField(row)->setObjectName(QString::number(editIds[row]));
        m_labels[row]->setBuddy(editField(row));
    }
    connect(m_edits[kCaptionRow], &QLineEdit::textEdited, this, &CAlbumView::onCaptionEdited);
    connect(m_edits[kKeywordsRow], &QLineEdit::textEdited, this, &CAlbumView::onKeywordsEdited);
    connect(m_descriptionEdit, &MultiLineEdit::textEdited, this, &CAlbumView::onDescriptionEdited);

    for (int i = 0; i < kInitialCells; ++i) {
        auto *cell = new CellWindow(this, ViewControl::kFirstCell + m_cellCounter++);
        cell->hide();
        m_cells.push_back(cell);
    }

    connect(m_document, &CAlbumDoc::itemsChanged, this, &CAlbumView::onItemsChanged);
    connect(m_document, &CAlbumDoc::itemChanged, this, &CAlbumView::redrawItem);
    // An undo or redo may change a text the fields show; typing itself is left alone.
    connect(&m_document->undoStack(), &QUndoStack::indexChanged, this, [this] {
        if (!m_pushingText)
            refreshFields();
    });
    connect(m_document, &CAlbumDoc::currentItemChanged, this, [this](int index) {
        if (index < 0)
            resetState();
        else
            setCurrent(index);
    });
    displayChanged();
    refreshFields();
}

CAlbumView::~CAlbumView()
{
    delete m_player;
    // The cells go while the view is whole: a cell losing the keyboard asks the view to redraw.
    const std::vector<CellWindow *> cells = std::exchange(m_cells, {});
    for (CellWindow *cell : cells)
        delete cell;
}

GridReserve CAlbumView::reserve() const
{
    const int info = m_infoLine->sizeHint().height();
    return { m_scrollBar->sizeHint().width() + 13, 3 * editHeight() + 7 + info + 4 };
}

QWidget *CAlbumView::editField(int row) const
{
    if (row == kDescriptionRow)
        return m_descriptionEdit;
    return m_edits[row];
}

int CAlbumView::editHeight() const
{
    return m_edits[0]->sizeHint().height();
}

int CAlbumView::labelWidth() const
{
    const QFontMetrics metrics = m_labels[0]->fontMetrics();
    int width = metrics.horizontalAdvance(loadString(Message::kNoCurrentItem));
    for (const QString &label : m_fieldLabels)
        width = std::max(width, metrics.horizontalAdvance(label));
    return width + 4;
}

void CAlbumView::setCurrent(int index)
{
    if (index >= 0 && index - firstVisibleIndex() >= m_grid.cellCount())
        return;
    placeCurrent(index, true);
}

void CAlbumView::placeCurrent(int index, bool select)
{
    const int count = m_document->itemCount();
    if (index >= count)
        index = count - 1;
    const int previous = m_current;
    m_current = index;
    if (AlbumItem *item = m_document->item(index); item && select)
        item->setSelected(true);
    m_document->setCurrentItem(index);
    refreshFields();
    redrawItem(previous);
    redrawItem(index);
    Q_EMIT currentChanged(m_current);
}

void CAlbumView::resetState()
{
    const bool changed = m_current != -1;
    m_current = -1;
    m_anchor = -1;
    m_topRow = 0;
    m_document->setCurrentItem(-1);
    layoutView();
    refreshFields();
    if (changed)
        Q_EMIT currentChanged(-1);
}

void CAlbumView::scrollGrid(ScrollAction action, int position)
{
    const int top = scrolledTop(action, m_topRow, m_grid.rows, m_scrollMax, position);
    if (top == m_topRow && action != ScrollAction::ThumbPosition)
        return;
    m_topRow = top;
    placeCells();
    updateScrollBar();
}

void CAlbumView::redrawItem(int index)
{
    const int cell = index - firstVisibleIndex();
    if (index < 0 || cell < 0 || cell >= m_grid.cellCount() || cell >= int(m_cells.size()))
        return;
    m_cells[std::size_t(cell)]->update();
}

void CAlbumView::layoutView()
{
    const GridSize size = gridForClient(this->size(), reserve());
    if (isApplicableGrid(size))
        m_grid = size;
    m_scrollMax = scrollMaximum(m_document->itemCount(), m_grid);
    m_topRow = std::min(m_topRow, m_scrollMax);
    placeCells();
    layoutEditRows();
    updateScrollBar();
}

void CAlbumView::placeCells()
{
    // Rows of empty frames would only say that nothing is there; the hint says what to do.
    const bool empty = m_document->itemCount() == 0;
    m_emptyHint->setVisible(empty);
    if (empty) {
        const QRect cells = cellRect(0, 0).united(cellRect(m_grid.rows - 1, m_grid.columns - 1));
        m_emptyHint->setGeometry(cells);
    }
    const int needed = empty ? 0 : m_grid.cellCount();
    const int first = firstVisibleIndex();
    for (int i = 0; i < needed; ++i) {
        if (i >= int(m_cells.size()))
            m_cells.push_back(new CellWindow(this, ViewControl::kFirstCell + m_cellCounter++));
        CellWindow *cell = m_cells[std::size_t(i)];
        cell->move(cellRect(i / m_grid.columns, i % m_grid.columns).topLeft());
        cell->setItem(first + i);
        cell->show();
        cell->update();
    }
    for (std::size_t i = std::size_t(needed); i < m_cells.size(); ++i) {
        m_cells[i]->setItem(-1);
        m_cells[i]->hide();
    }
    update();
}

void CAlbumView::layoutEditRows()
{
    const int height = editHeight();
    const int labelWide = labelWidth();
    const int client = this->height();
    // Row 1 (description) is the lowest, row 3 (caption) the highest.
    const int rowOf[3] = { 3, 2, 1 };
    for (int field = 0; field < 3; ++field) {
        const int y = client - (rowOf[field] * (height + 1) + 3);
        m_labels[field]->setGeometry(5, y, labelWide, height);
        const int editLeft = 5 + labelWide + 5;
        editField(field)->setGeometry(editLeft, y, std::max(0, width() - 3 - editLeft), height);
    }
    const int infoHeight = m_infoLine->sizeHint().height();
    const int infoTop = client - (3 * (height + 1) + 3) - infoHeight - 2;
    m_infoLine->setGeometry(
        5 + labelWide + 5, infoTop, std::max(0, width() - labelWide - 13), infoHeight);
    const int scrollWidth = m_scrollBar->sizeHint().width();
    m_scrollBar->setGeometry(
        width() - scrollWidth - 3, 3, scrollWidth, std::max(0, client - reserve().bottom - 3));
}

void CAlbumView::updateScrollBar()
{
    const QSignalBlocker blocker(m_scrollBar);
    m_scrollBar->setRange(0, m_scrollMax);
    m_scrollBar->setPageStep(std::max(1, m_grid.rows));
    m_scrollBar->setValue(m_topRow);
}

void CAlbumView::onItemsChanged()
{
    const int count = m_document->itemCount();
    if (m_current >= count) {
        m_current = -1;
        m_document->setCurrentItem(-1);
        Q_EMIT currentChanged(-1);
    }
    m_scrollMax = scrollMaximum(count, m_grid);
    m_topRow = std::min(m_topRow, m_scrollMax);
    placeCells();
    updateScrollBar();
    refreshFields();
}

QString CAlbumView::informationLine() const
{
    return m_infoLine->text();
}

void CAlbumView::refreshFields()
{
    m_textGuard = true;
    const AlbumItem *item = m_document->item(m_current);
    const ItemInfo *info = item ? item->info() : nullptr;
    if (!info) {
        m_infoLine->setText(albumInformationLine(m_document->itemCount()));
        m_labels[kDescriptionRow]->setText(loadString(Message::kNoCurrentItem));
        m_descriptionEdit->setText(m_document->albumCaption());
        m_edits[kCaptionRow]->clear();
        m_edits[kKeywordsRow]->clear();
    } else {
        QString line = itemInformationLine(*info);
        // A picture's date taken, or a clip's creation time, read from its file (the album
        // keeps none).
        const QString taken = takenText(readMediaFacts(item->absolutePath()));
        if (!taken.isEmpty())
            line += QStringLiteral("  ") + tr("Taken %1").arg(taken);
        m_infoLine->setText(line);
        m_labels[kDescriptionRow]->setText(m_fieldLabels[kDescriptionRow]);
        m_edits[kCaptionRow]->setText(fixedText(info->caption));
        m_edits[kKeywordsRow]->setText(fixedText(info->keywords));
        m_descriptionEdit->setText(fixedText(info->description));
    }
    m_edits[kCaptionRow]->setEnabled(info != nullptr);
    m_edits[kKeywordsRow]->setEnabled(info != nullptr);
    m_textGuard = false;
}

void CAlbumView::pushTextEdit(int index, ItemField field, const QString &text)
{
    if (m_textGuard || ItemTextCommand::textOf(*m_document, index, field) == text)
        return;
    m_pushingText = true;
    m_document->undoStack().push(new ItemTextCommand(*m_document, index, field, text));
    m_pushingText = false;
}

void CAlbumView::onCaptionEdited(const QString &text)
{
    if (m_document->item(m_current))
        pushTextEdit(m_current, ItemField::Caption, text);
}

void CAlbumView::onKeywordsEdited(const QString &text)
{
    if (m_document->item(m_current))
        pushTextEdit(m_current, ItemField::Keywords, text);
}

void CAlbumView::onDescriptionEdited(const QString &text)
{
    // With no current item this field holds the album caption.
    pushTextEdit(m_document->item(m_current) ? m_current : -1, ItemField::Description, text);
}

void CAlbumView::setFieldLabels(const QStringList &labels)
{
    for (int row = 0; row < 3 && row < labels.size(); ++row) {
        if (!labels[row].isEmpty())
            m_fieldLabels[row] = labels[row];
    }
    m_labels[kCaptionRow]->setText(m_fieldLabels[kCaptionRow]);
    m_labels[kKeywordsRow]->setText(m_fieldLabels[kKeywordsRow]);
    refreshFields();
    layoutEditRows();
}

QRect CAlbumView::sizingRect(
    const QRect &window, SizingEdge edge, QSize nonClient, QSize desktop) const
{
    return snapWindowToCells(window, edge, nonClient, reserve(), desktop);
}

int CAlbumView::dropIndexAt(QPoint point) const
{
    const int cell = cellAt(point, m_grid);
    const int count = m_document->itemCount();
    if (cell < 0)
        return -1;
    const int index = firstVisibleIndex() + cell;
    return index < count ? index : -1;
}

void CAlbumView::displayChanged()
{
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    m_displayDepth = screen ? screen->depth() : 24;
    for (CellWindow *cell : m_cells)
        cell->update();
}

void CAlbumView::applySelection(const SelectionOutcome &outcome, int previousCurrent)
{
    if (outcome.current != previousCurrent)
        setCurrent(outcome.current);
    else
        refreshFields();
    if (outcome.all) {
        for (CellWindow *cell : m_cells)
            cell->update();
        return;
    }
    for (int index : outcome.redraw)
        redrawItem(index);
}

void CAlbumView::clickItem(int index, Qt::KeyboardModifiers keys)
{
    DocumentMarks marks(*m_document);
    const int previous = m_current;
    m_keyboardCue = false;
    applySelection(applySelectionRule(marks, m_current, index, clickKeysOf(keys)), previous);
    if (!(keys & Qt::ShiftModifier))
        m_anchor = m_current;
}

void CAlbumView::startItemDrag(int index, Qt::KeyboardModifiers pressKeys)
{
    AlbumItem *item = m_document->item(index);
    if (!item)
        return;
    if (!item->isSelected()) {
        DocumentMarks marks(*m_document);
        const int previous = m_current;
        applySelection(applySelectionRule(marks, m_current, index, ClickKeys::Plain), previous);
    }
    Q_EMIT dragStarted(index, pressKeys);
}

void CAlbumView::openItem(int index)
{
    const AlbumItem *item = m_document->item(index);
    if (!item)
        return;
    if (!hasUsableThumbnail(*item)) {
        host().showMessage(Message::kMissingFileStatus, {}, MessageIcon::Warning);
        return;
    }
    Q_EMIT openItemRequested(index);
}

bool CAlbumView::handleGridKey(int key, Qt::KeyboardModifiers keys)
{
    const bool control = keys & Qt::ControlModifier;
    if (gridMoveOfKey(key) != GridMove::None) {
        moveByKey(key, keys);
        return true;
    }
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        openItem(m_current);
        return true;
    case Qt::Key_F2:
        if (!hasCurrentItem())
            return true;
        m_edits[kCaptionRow]->setFocus(Qt::ShortcutFocusReason);
        m_edits[kCaptionRow]->selectAll();
        return true;
    case Qt::Key_A:
        if (!control)
            return false;
        selectAllItems();
        return true;
    case Qt::Key_Space:
        if (!control || !hasCurrentItem())
            return false;
        m_document->item(m_current)->setSelected(!m_document->item(m_current)->isSelected());
        m_anchor = m_current;
        redrawItem(m_current);
        return true;
    case Qt::Key_Delete:
        // Posted, so the key's own handling ends before the removal dialog opens.
        QMetaObject::invokeMethod(
            this, [this] { Q_EMIT commandRequested(Command::kRemove); }, Qt::QueuedConnection);
        return true;
    default:
        return false;
    }
}

void CAlbumView::moveByKey(int key, Qt::KeyboardModifiers keys)
{
    const int count = m_document->itemCount();
    const GridMove move = gridMoveOfKey(key);
    const int target = movedIndex(move, m_current, count, m_grid, firstVisibleIndex());
    if (target < 0)
        return;
    // Page keys and the ends scroll as the scroll bar's own keys do, then the new current item
    // is brought on screen.
    if (move == GridMove::PageUp)
        scrollGrid(ScrollAction::PageUp);
    else if (move == GridMove::PageDown)
        scrollGrid(ScrollAction::PageDown);
    else if (move == GridMove::Home)
        scrollGrid(ScrollAction::Top);
    else if (move == GridMove::End)
        scrollGrid(ScrollAction::Bottom);
    scrollToShow(target);
    m_keyboardCue = true;
    if (keys & Qt::ShiftModifier) {
        if (m_anchor < 0 || m_anchor >= count)
            m_anchor = m_current >= 0 ? m_current : target;
        const auto [low, high] = std::minmax(m_anchor, target);
        for (int i = 0; i < count; ++i)
            m_document->item(i)->setSelected(i >= low && i <= high);
        for (CellWindow *cell : m_cells)
            cell->update();
        placeCurrent(target, false);
    } else if (keys & Qt::ControlModifier) {
        placeCurrent(target, false);
        m_anchor = target;
    } else {
        DocumentMarks marks(*m_document);
        const int previous = m_current;
        applySelection(applySelectionRule(marks, m_current, target, ClickKeys::Plain), previous);
        m_anchor = target;
    }
    focusCurrentCell();
}

void CAlbumView::showCurrent(int index)
{
    if (!m_document->item(index))
        return;
    scrollToShow(index);
    DocumentMarks marks(*m_document);
    const int previous = m_current;
    applySelection(applySelectionRule(marks, m_current, index, ClickKeys::Plain), previous);
    m_anchor = index;
}

void CAlbumView::scrollToShow(int index)
{
    const int top = topRowShowing(index, m_topRow, m_grid, m_scrollMax);
    if (top != m_topRow)
        scrollGrid(ScrollAction::ThumbPosition, top);
}

void CAlbumView::focusCurrentCell()
{
    const int cell = m_current - firstVisibleIndex();
    if (cell >= 0 && cell < int(m_cells.size()) && m_cells[std::size_t(cell)]->isVisible())
        m_cells[std::size_t(cell)]->setFocus(Qt::OtherFocusReason);
}

bool CAlbumView::showsFocusFrame() const
{
    if (!m_keyboardCue)
        return false;
    const QWidget *focused = QApplication::focusWidget();
    return focused && focused->parentWidget() == this && qobject_cast<const CellWindow *>(focused);
}

bool CAlbumView::hasCurrentItem() const
{
    return m_document->item(m_current) != nullptr;
}

bool CAlbumView::currentHasAttachment() const
{
    const AlbumItem *item = m_document->item(m_current);
    return item && !item->attachmentPath().isEmpty();
}

bool CAlbumView::hasSelection() const
{
    return m_document->selectedCount() > 0;
}

void CAlbumView::removeSelectedItems(bool deleteFiles)
{
    m_document->undoStack().push(RemoveItemsCommand::forSelection(*m_document, deleteFiles));
    resetState();
}

void CAlbumView::removeCommand()
{
    if (!hasSelection())
        return;
    const std::optional<bool> deleteFiles = askRemoveItems(this, m_document->selectedCount());
    if (deleteFiles)
        removeSelectedItems(*deleteFiles);
}

void CAlbumView::itemProperties()
{
    AlbumItem *item = m_document->item(m_current);
    if (!item)
        return;
    const std::optional<QString> path = askItemProperties(this, *item);
    if (!path || *path == item->path())
        return;
    const int index = m_current;
    std::unique_ptr<AlbumItem> replacement = itemWithPath(*m_document, index, *path);
    if (!replacement)
        return;
    m_document->undoStack().push(
        new ReplaceItemCommand(*m_document, index, std::move(replacement)));
    setCurrent(index);
}

void CAlbumView::selectAllItems()
{
    m_document->selectAll();
    for (CellWindow *cell : m_cells)
        cell->update();
}

void CAlbumView::selectNoItems()
{
    m_document->selectNone();
    const bool changed = m_current != -1;
    m_current = -1;
    m_document->setCurrentItem(-1);
    for (CellWindow *cell : m_cells)
        cell->update();
    refreshFields();
    if (changed)
        Q_EMIT currentChanged(-1);
}

void CAlbumView::fieldLabelsCommand()
{
    const std::optional<QStringList> labels = askFieldLabels(this, m_fieldLabels);
    if (!labels)
        return;
    setFieldLabels(*labels);
    Q_EMIT fieldLabelsChanged(m_fieldLabels);
}

void CAlbumView::copyFilesCommand()
{
    if (!hasSelection())
        return;
    const QString folder
        = QFileDialog::getExistingDirectory(this, QString(), m_document->lastCopyDestination());
    if (folder.isEmpty())
        return;
    copySelectedFiles(*m_document, folder);
}

void CAlbumView::openCurrentPicture()
{
    const AlbumItem *item = m_document->item(m_current);
    if (!item)
        return;
    if (!hasUsableThumbnail(*item)) {
        host().showMessage(Message::kPictureMissing, {}, MessageIcon::Warning);
        return;
    }
    if (mediaKindOf(identifyMediaFile(item->absolutePath())) != MediaKind::Picture) {
        host().showMessage(Message::kNotAPicture, {}, MessageIcon::Warning);
        return;
    }
    const WaitCursor wait;
    Q_EMIT pictureRequested(item->absolutePath());
}

void CAlbumView::playAttachedSound()
{
    const AlbumItem *item = m_document->item(m_current);
    if (!item || item->attachmentPath().isEmpty())
        return;
    if (!m_player)
        m_player = new SoundPlayerWindow();
    m_player->move(mapToGlobal(QPoint(50, 50)));
    m_player->play(item->attachmentPath());
}

void CAlbumView::removeAttachedSound()
{
    if (!currentHasAttachment())
        return;
    m_document->undoStack().push(new AttachmentCommand(*m_document, m_current,
        m_document->item(m_current)->attachmentName(), QString(), tr("Remove Attached Sound")));
}

void CAlbumView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutView();
}

void CAlbumView::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    focusCurrentCell();
    if (hasFocus() && !m_cells.empty() && m_cells.front()->isVisible())
        m_cells.front()->setFocus(event->reason());
}

void CAlbumView::wheelEvent(QWheelEvent *event)
{
    const int steps = event->angleDelta().y() / 120;
    for (int i = 0; i < std::abs(steps); ++i)
        scrollGrid(steps > 0 ? ScrollAction::LineUp : ScrollAction::LineDown);
    event->accept();
}

} // namespace glimmerix
