#include "launchersetupdialog.h"

#include "launchericon.h"

#include "core/resourceids.h"
#include "platform/strings.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace glimmerix
{

namespace
{

constexpr int kCellSize = 50;
constexpr int kCellIconOffset = 7;
constexpr int kCellIconSize = 32;
constexpr int kMaxLabelCharacters = 29;

// A program cell: blue when selected, white otherwise, the icon 7 pixels in from the corner.
class ProgramCellDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        painter->fillRect(option.rect, selected ? QColor(Qt::blue) : QColor(Qt::white));
        const QIcon icon = index.data(Qt::DecorationRole).value<QIcon>();
        const QPoint corner = option.rect.topLeft() + QPoint(kCellIconOffset, kCellIconOffset);
        icon.paint(painter, QRect(corner, QSize(kCellIconSize, kCellIconSize)));
    }
    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        return { kCellSize, kCellSize };
    }
};

QString controlName(int id)
{
    return QString::number(id);
}

} // namespace

LauncherSetupDialog::LauncherSetupDialog(
    const QList<LauncherEntry> &programs, const QString &preselectLabel, QWidget *parent)
    : QDialog(parent)
    , m_model(programs, preselectLabel)
{
    setObjectName(controlName(Resource::kLauncherSetupDialog));
    setWindowTitle(tr("Launcher Programs"));

    m_list = new QListWidget(this);
    m_list->setObjectName(controlName(kProgramList));
    m_list->setViewMode(QListView::IconMode);
    m_list->setFlow(QListView::LeftToRight);
    m_list->setWrapping(false);
    m_list->setMovement(QListView::Static);
    m_list->setGridSize(QSize(kCellSize, kCellSize));
    m_list->setSpacing(0);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setItemDelegate(new ProgramCellDelegate(m_list));
    m_list->setFrameShape(QFrame::NoFrame);

    m_path = new QLineEdit(this);
    m_path->setObjectName(controlName(kPathField));
    // The path changes only through Add and Change, which check it.
    m_path->setReadOnly(true);
    m_label = new QLineEdit(this);
    m_label->setObjectName(controlName(kLabelField));
    m_label->setMaxLength(kMaxLabelCharacters);
    m_icon = new QLabel(this);
    m_icon->setObjectName(controlName(kIconPicture));
    m_icon->setFixedSize(kCellIconSize, kCellIconSize);

    m_add = new QPushButton(tr("&Add..."), this);
    m_add->setObjectName(controlName(kAddButton));
    m_change = new QPushButton(tr("&Change..."), this);
    m_change->setObjectName(controlName(kChangeButton));
    m_remove = new QPushButton(tr("&Remove"), this);
    m_remove->setObjectName(controlName(kRemoveButton));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto *fields = new QFormLayout;
    fields->addRow(tr("Program:"), m_path);
    fields->addRow(tr("Label:"), m_label);
    fields->addRow(tr("Icon:"), m_icon);
    auto *actions = new QHBoxLayout;
    actions->addWidget(m_add);
    actions->addWidget(m_change);
    actions->addWidget(m_remove);
    actions->addStretch();
    auto *listRow = new QHBoxLayout;
    listRow->addStretch();
    listRow->addWidget(m_list);
    listRow->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(listRow);
    layout->addLayout(fields);
    layout->addLayout(actions);
    layout->addWidget(buttons);

    connect(m_add, &QPushButton::clicked, this, &LauncherSetupDialog::addProgram);
    connect(m_change, &QPushButton::clicked, this, &LauncherSetupDialog::changeProgram);
    connect(m_remove, &QPushButton::clicked, this, &LauncherSetupDialog::removeProgram);
    connect(m_list, &QListWidget::currentRowChanged, this, &LauncherSetupDialog::selectionChanged);
    connect(buttons, &QDialogButtonBox::accepted, this, &LauncherSetupDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &LauncherSetupDialog::reject);

    fillList();
}

void LauncherSetupDialog::fillList()
{
    m_filling = true;
    m_list->clear();
    for (const LauncherEntry &entry : m_model.entries()) {
        auto *item = new QListWidgetItem(launcherProgramIcon(entry.path), QString(), m_list);
        item->setToolTip(LauncherSetupModel::itemText(entry));
        item->setSizeHint(QSize(kCellSize, kCellSize));
    }
    m_list->setFixedSize(launcherSetupListSize(systemLanguageName(), m_model.count()));
    m_list->setCurrentRow(m_model.selected());
    m_filling = false;
    showSelected();
}

void LauncherSetupDialog::showSelected()
{
    const LauncherEntry *entry = m_model.selectedEntry();
    m_path->setText(entry ? entry->path : QString());
    m_label->setText(entry ? entry->label : QString());
    m_icon->setPixmap(entry ? launcherProgramIcon(entry->path).pixmap(kCellIconSize) : QPixmap());
    updateButtons();
}

void LauncherSetupDialog::updateButtons()
{
    m_change->setEnabled(m_model.hasSelection());
    m_remove->setEnabled(m_model.hasSelection());
}

void LauncherSetupDialog::selectionChanged()
{
    if (m_filling)
        return;
    m_model.select(m_list->currentRow(), m_label->text());
    if (m_model.hasSelection()) {
        // The stored label may have changed the cell's text.
        m_list->item(m_model.selected())
            ->setToolTip(LauncherSetupModel::itemText(*m_model.selectedEntry()));
    }
    showSelected();
}

QString LauncherSetupDialog::chooseProgram()
{
    if (m_chooser)
        return m_chooser();
    const QString applications = QStringLiteral("/usr/share/applications");
    const QString start = QDir(applications).exists() ? applications : QStringLiteral("/usr/bin");
    return QFileDialog::getOpenFileName(
        this, tr("Choose a Program"), start, tr("Programs (*);;Desktop entries (*.desktop)"));
}

void LauncherSetupDialog::addProgram()
{
    const QString path = chooseProgram();
    // The label typed for the entry selected so far is kept before the selection moves.
    m_model.select(m_model.selected(), m_label->text());
    if (m_model.add(path) == LauncherSetupModel::ChooseResult::Done)
        fillList();
}

void LauncherSetupDialog::changeProgram()
{
    const QString path = chooseProgram();
    if (m_model.change(path) == LauncherSetupModel::ChooseResult::Done)
        fillList();
}

void LauncherSetupDialog::removeProgram()
{
    m_model.remove();
    fillList();
}

void LauncherSetupDialog::accept()
{
    m_accepted = m_model.accept(m_label->text());
    QDialog::accept();
}

} // namespace glimmerix
