#include "printoptionsdialog.h"

#include "core/messageids.h"
#include "platform/host.h"
#include "platform/strings.h"
#include "view/cellpictures.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace glimmerix
{

namespace
{

QRadioButton *addRadio(QButtonGroup *group, QLayout *layout, const QString &text, int id)
{
    auto *button = new QRadioButton(text);
    group->addButton(button, id);
    layout->addWidget(button);
    return button;
}

// A list of cell pictures, each shown with a small sample of itself.
QListWidget *pictureList(const QStringList &names, const QString &chosen)
{
    auto *list = new QListWidget;
    list->setIconSize(QSize(40, 40));
    list->setMinimumHeight(120);
    for (const QString &name : names) {
        const QImage picture = loadCellPicture(name);
        auto *entry = new QListWidgetItem(
            QIcon(QPixmap::fromImage(picture.scaled(40, 40, Qt::KeepAspectRatio))), name);
        list->addItem(entry);
        if (name == chosen)
            list->setCurrentItem(entry);
    }
    // Wide enough for every name beside its sample, so no name is cut off.
    int widest = 0;
    for (const QString &name : names)
        widest = std::max(widest, list->fontMetrics().horizontalAdvance(name));
    list->setMinimumWidth(list->iconSize().width() + widest + 2 * list->frameWidth()
        + list->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 16);
    return list;
}

QString chosenName(const QListWidget *list)
{
    const QListWidgetItem *entry = list->currentItem();
    return entry ? entry->text() : QString();
}

} // namespace

PrintOptionsDialog::PrintOptionsDialog(
    const PrintOptions &options, const CellPictureLists &pictures, QWidget *parent)
    : QDialog(parent)
    , m_options(options)
{
    setWindowTitle(tr("Print Album"));
    auto *layout = new QVBoxLayout(this);
    auto *columns = new QHBoxLayout;
    layout->addLayout(columns);
    auto *left = new QVBoxLayout;
    auto *right = new QVBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);

    auto *rangeBox = new QGroupBox(tr("Items"));
    auto *rangeLayout = new QVBoxLayout(rangeBox);
    m_range = new QButtonGroup(this);
    addRadio(m_range, rangeLayout, tr("&All items"), PrintOptions::AllItems);
    addRadio(m_range, rangeLayout, tr("&Selected items"), PrintOptions::SelectedItems);
    auto *numbered = new QHBoxLayout;
    rangeLayout->addLayout(numbered);
    addRadio(m_range, numbered, tr("Items &from"), PrintOptions::NumberedItems);
    m_from = new QSpinBox;
    m_to = new QSpinBox;
    for (QSpinBox *box : { m_from, m_to })
        box->setRange(0, 999999);
    numbered->addWidget(m_from);
    numbered->addWidget(new QLabel(tr("to")));
    numbered->addWidget(m_to);
    left->addWidget(rangeBox);

    auto *gridBox = new QGroupBox(tr("Grid"));
    auto *gridLayout = new QHBoxLayout(gridBox);
    m_grid = new QButtonGroup(this);
    for (int grid : { PrintOptions::Grid4, PrintOptions::Grid3, PrintOptions::Grid2 }) {
        const int cells = gridChoice(grid).cells;
        addRadio(m_grid, gridLayout, QStringLiteral("%1 x %1").arg(cells), grid);
    }
    left->addWidget(gridBox);

    auto *contentBox = new QGroupBox(tr("Cells"));
    auto *contentLayout = new QVBoxLayout(contentBox);
    m_highQuality = new QCheckBox(tr("&High quality (full pictures)"));
    m_squareCrop = new QCheckBox(tr("Cut pictures to s&quares"));
    m_includeMedia = new QCheckBox(tr("Include &sound and video items"));
    m_itemTexts = new QCheckBox(tr("Print item &texts"));
    m_fileNames = new QCheckBox(tr("Print file &names"));
    m_pageNumbers = new QCheckBox(tr("Print &page numbers"));
    for (QCheckBox *box :
        { m_highQuality, m_squareCrop, m_includeMedia, m_itemTexts, m_fileNames, m_pageNumbers })
        contentLayout->addWidget(box);
    left->addWidget(contentBox);

    auto *picturesBox = new QGroupBox(tr("Cell pictures"));
    auto *picturesLayout = new QGridLayout(picturesBox);
    m_backgroundOn = new QCheckBox(tr("&Background"));
    m_borderOn = new QCheckBox(tr("B&order"));
    m_backgrounds = pictureList(pictures.backgrounds, options.backgroundName);
    m_borders = pictureList(pictures.borders, options.borderName);
    picturesLayout->addWidget(m_backgroundOn, 0, 0);
    picturesLayout->addWidget(m_borderOn, 0, 1);
    picturesLayout->addWidget(m_backgrounds, 1, 0);
    picturesLayout->addWidget(m_borders, 1, 1);
    right->addWidget(picturesBox);

    auto *texts = new QFormLayout;
    m_title = new QLineEdit(options.title);
    m_footer = new QLineEdit(options.footer);
    texts->addRow(tr("T&itle:"), m_title);
    texts->addRow(tr("Foote&r:"), m_footer);
    right->addLayout(texts);
    right->addStretch();

    auto *buttons = new QDialogButtonBox;
    QPushButton *preview = buttons->addButton(tr("Pre&view..."), QDialogButtonBox::ActionRole);
    QPushButton *print = buttons->addButton(tr("&Print..."), QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    print->setDefault(true);
    layout->addWidget(buttons);
    connect(preview, &QPushButton::clicked, this, [this] { finish(Preview); });
    connect(print, &QPushButton::clicked, this, [this] { finish(Print); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    m_range->button(options.range)->setChecked(true);
    m_from->setValue(options.from);
    m_to->setValue(options.to);
    m_grid->button(options.grid)->setChecked(true);
    m_highQuality->setChecked(options.highQuality);
    m_squareCrop->setChecked(options.squareCrop);
    m_includeMedia->setChecked(options.includeMedia);
    m_itemTexts->setChecked(options.itemTexts);
    m_fileNames->setChecked(options.fileNames);
    m_pageNumbers->setChecked(options.pageNumbers);
    m_backgroundOn->setChecked(options.backgroundOn);
    m_borderOn->setChecked(options.borderOn);
    connect(m_range, &QButtonGroup::idClicked, this, &PrintOptionsDialog::updateControls);
    for (QCheckBox *box : { m_itemTexts, m_backgroundOn, m_borderOn })
        connect(box, &QCheckBox::toggled, this, &PrintOptionsDialog::updateControls);
    updateControls();
}

void PrintOptionsDialog::updateControls()
{
    const bool numbered = m_range->checkedId() == PrintOptions::NumberedItems;
    m_from->setEnabled(numbered);
    m_to->setEnabled(numbered);
    m_fileNames->setEnabled(!m_itemTexts->isChecked());
    m_backgrounds->setEnabled(m_backgroundOn->isChecked());
    m_borders->setEnabled(m_borderOn->isChecked());
}

PrintOptions PrintOptionsDialog::options() const
{
    PrintOptions options = m_options;
    options.range = m_range->checkedId();
    options.from = m_from->value();
    options.to = m_to->value();
    options.grid = m_grid->checkedId();
    options.highQuality = m_highQuality->isChecked();
    options.squareCrop = m_squareCrop->isChecked();
    options.includeMedia = m_includeMedia->isChecked();
    options.itemTexts = m_itemTexts->isChecked();
    options.fileNames = m_fileNames->isChecked();
    options.pageNumbers = m_pageNumbers->isChecked();
    options.backgroundOn = m_backgroundOn->isChecked();
    options.borderOn = m_borderOn->isChecked();
    options.backgroundName = chosenName(m_backgrounds);
    options.borderName = chosenName(m_borders);
    options.title = m_title->text();
    options.footer = m_footer->text();
    return options;
}

void PrintOptionsDialog::finish(Outcome outcome)
{
    if (const int problem = rangeProblem(options())) {
        MessageBoxLook look;
        look.caption = loadString(Message::kWarningTitle);
        host().showMessage(problem, {}, MessageIcon::Warning, MessageButtons::Ok, look);
        return;
    }
    done(outcome);
}

} // namespace glimmerix
