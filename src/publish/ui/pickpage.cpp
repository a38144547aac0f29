#include "pickpage.h"

#include "core/controlids.h"
#include "core/resourceids.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWizard>

namespace glimmerix
{

QString pageControlName(int id)
{
    return QStringLiteral("control%1").arg(id);
}

namespace
{

QPushButton *makeButton(const QString &text, int id, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(pageControlName(id));
    return button;
}

} // namespace

CWebPage1::CWebPage1(
    PickingMode mode, const QString &workingFolder, const CAlbumDoc &document, QWidget *parent)
    : QWizardPage(parent)
    , m_picker(mode, workingFolder)
    , m_document(document)
    , m_allList(new QListWidget(this))
    , m_chosenList(new QListWidget(this))
    , m_sizeText(new QLabel(QStringLiteral("0 "), this))
    , m_convertBox(new QCheckBox(tr("Convert pictures to &JPEG"), this))
{
    setObjectName(QStringLiteral("pickPage"));
    setTitle(tr("Choose the Items"));
    setSubTitle(mode == PickingMode::WebAlbum
            ? tr("Choose the items that go into the web album, in the order they appear.")
            : tr("Choose the pictures that go into the slide show, in the order they appear."));
    m_allList->setObjectName(pageControlName(PickPageControl::kAllItems));
    m_chosenList->setObjectName(pageControlName(PickPageControl::kChosen));
    m_sizeText->setObjectName(pageControlName(PickPageControl::kSizeText));
    m_convertBox->setObjectName(pageControlName(PickPageControl::kConvertBox));
    m_allList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_chosenList->setSelectionMode(QAbstractItemView::ExtendedSelection);

    QPushButton *add = makeButton(tr("&Add >"), PickPageControl::kAdd, this);
    QPushButton *remove = makeButton(tr("< &Remove"), PickPageControl::kRemove, this);
    QPushButton *addAllButton = makeButton(tr("Add A&ll >>"), PickPageControl::kAddAll, this);
    QPushButton *removeAllButton
        = makeButton(tr("<< Remo&ve All"), PickPageControl::kRemoveAll, this);
    auto *buttons = new QVBoxLayout;
    buttons->addStretch();
    for (QPushButton *button : { add, remove, addAllButton, removeAllButton })
        buttons->addWidget(button);
    buttons->addStretch();

    auto *grid = new QGridLayout(this);
    grid->addWidget(new QLabel(tr("Album items:"), this), 0, 0);
    grid->addWidget(new QLabel(tr("Chosen items:"), this), 0, 2);
    grid->addWidget(m_allList, 1, 0);
    grid->addLayout(buttons, 1, 1);
    grid->addWidget(m_chosenList, 1, 2);
    auto *size = new QHBoxLayout;
    size->addWidget(new QLabel(tr("Estimated size:"), this));
    size->addWidget(m_sizeText);
    size->addWidget(new QLabel(tr("KB"), this));
    size->addStretch();
    grid->addLayout(size, 2, 0, 1, 3);
    grid->addWidget(m_convertBox, 3, 0, 1, 3);

    connect(add, &QPushButton::clicked, this, &CWebPage1::addSelected);
    connect(remove, &QPushButton::clicked, this, &CWebPage1::removeSelected);
    connect(addAllButton, &QPushButton::clicked, this, &CWebPage1::addAll);
    connect(removeAllButton, &QPushButton::clicked, this, &CWebPage1::removeAll);
    connect(m_allList, &QListWidget::itemDoubleClicked, this, &CWebPage1::addSelected);
    connect(m_chosenList, &QListWidget::itemDoubleClicked, this, &CWebPage1::removeSelected);
    connect(m_convertBox, &QCheckBox::clicked, this, &CWebPage1::toggleConvert);
}

int CWebPage1::helpTopic() const
{
    return m_picker.mode() == PickingMode::WebAlbum ? HelpTopic::kWebPickPage
                                                    : HelpTopic::kSlideShowPickPage;
}

void CWebPage1::initializePage()
{
    // A return with Back does not initialise the page again; the wizard's page change does.
    if (wizard() && !property("watching").toBool()) {
        setProperty("watching", true);
        connect(wizard(), &QWizard::currentIdChanged, this, [this](int id) {
            if (wizard()->page(id) == this && m_wentOn) {
                m_wentOn = false;
                activate();
            }
        });
    }
    if (!m_picker.activated())
        activate();
}

void CWebPage1::activate()
{
    const bool first = !m_picker.activated();
    m_picker.activate(m_document);
    if (!first)
        return;
    m_allList->clear();
    for (const PickEntry &entry : m_picker.allEntries())
        m_allList->addItem(entry.name);
    m_convertBox->setChecked(m_picker.convert());
    m_convertBox->setEnabled(m_picker.mode() == PickingMode::WebAlbum);
    m_sizeText->setText(m_picker.sizeText());
}

bool CWebPage1::validatePage()
{
    m_wentOn = m_picker.next();
    return m_wentOn;
}

QList<int> CWebPage1::selectedRows(const QListWidget *list) const
{
    QList<int> rows;
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->isSelected())
            rows.append(row);
    }
    return rows;
}

void CWebPage1::showChosen()
{
    m_chosenList->clear();
    m_chosenList->addItems(m_picker.chosen());
    m_sizeText->setText(m_picker.sizeText());
    m_convertBox->setChecked(m_picker.convert());
}

void CWebPage1::addSelected()
{
    std::unique_ptr<Progress> progress = host().createProgress();
    m_picker.add(selectedRows(m_allList), progress.get());
    showChosen();
}

void CWebPage1::removeSelected()
{
    m_picker.remove(selectedRows(m_chosenList));
    showChosen();
}

void CWebPage1::addAll()
{
    std::unique_ptr<Progress> progress = host().createProgress();
    m_picker.addAll(progress.get());
    showChosen();
}

void CWebPage1::removeAll()
{
    m_picker.removeAll();
    showChosen();
}

void CWebPage1::toggleConvert()
{
    std::unique_ptr<Progress> progress = host().createProgress();
    m_picker.toggleConvert(progress.get());
    showChosen();
}

} // namespace glimmerix
