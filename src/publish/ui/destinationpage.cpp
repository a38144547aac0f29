#include "destinationpage.h"

#include "pickpage.h"

#include "core/controlids.h"
#include "core/messageids.h"
#include "platform/host.h"
#include "platform/strings.h"
#include "publish/productfiles.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace glimmerix
{

// The products' pages share the control numbers; only the folder text's differs (setup).
DestinationPage::DestinationPage(
    const DestinationSetup &setup, std::unique_ptr<CdDelivery> cd, QWidget *parent)
    : QWizardPage(parent)
    , m_setup(setup)
    , m_cdRadio(namedControl(new QRadioButton(tr("&CD"), this), WebDestinationControl::kCdRadio))
    , m_folderRadio(
          namedControl(new QRadioButton(tr("&Folder"), this), WebDestinationControl::kFolderRadio))
    , m_browse(
          namedControl(new QPushButton(tr("&Browse..."), this), WebDestinationControl::kBrowse))
    , m_folderText(namedControl(new QLabel(this), setup.folderTextId))
    , m_neededSize(namedControl(new QLabel(this), WebDestinationControl::kNeededSize))
    , m_freeSpace(namedControl(new QLabel(this), WebDestinationControl::kFreeSpace))
    , m_autoRunBox(
          namedControl(new QCheckBox(tr("AutoRun"), this), WebDestinationControl::kAutoRunBox))
    , m_spareBox(namedControl(new QCheckBox(this), WebDestinationControl::kSpareBox))
    , m_discFolderBox(namedControl(
          new QCheckBox(setup.discFolderLabel, this), WebDestinationControl::kDiscFolderBox))
    , m_discFolderName(namedControl(new QLineEdit(this), WebDestinationControl::kDiscFolderName))
    , m_cd(std::move(cd))
{
    setTitle(tr("Destination"));
    setFinalPage(true);
    auto *group = new QButtonGroup(this);
    group->addButton(m_cdRadio);
    group->addButton(m_folderRadio);
    m_folderText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *grid = new QGridLayout(this);
    grid->addWidget(m_cdRadio, 0, 0, 1, 3);
    grid->addWidget(m_discFolderBox, 1, 1);
    grid->addWidget(m_discFolderName, 1, 2);
    grid->addWidget(m_folderRadio, 2, 0, 1, 2);
    grid->addWidget(m_browse, 2, 2, Qt::AlignRight);
    grid->addWidget(m_folderText, 3, 1, 1, 2);
    grid->addWidget(new QLabel(tr("Space needed (bytes):"), this), 4, 0, 1, 2);
    grid->addWidget(m_neededSize, 4, 2);
    grid->addWidget(new QLabel(tr("Free space (bytes):"), this), 5, 0, 1, 2);
    grid->addWidget(m_freeSpace, 5, 2);
    grid->addWidget(m_autoRunBox, 6, 0);
    grid->addWidget(m_spareBox, 6, 1);
    grid->setRowStretch(7, 1);
    grid->setColumnMinimumWidth(0, 20);
    // The AutoRun file always goes onto a disc and the spare box is not used: neither is shown.
    m_autoRunBox->hide();
    m_spareBox->hide();
    if (!m_cd || !m_cd->available())
        m_cdRadio->setText(tr("&CD (no CD application)"));

    connect(m_folderRadio, &QRadioButton::clicked, this, &DestinationPage::folderRadioClicked);
    connect(m_cdRadio, &QRadioButton::clicked, this, &DestinationPage::updateControls);
    connect(m_browse, &QPushButton::clicked, this, &DestinationPage::browse);
    connect(m_discFolderBox, &QCheckBox::toggled, this, &DestinationPage::updateControls);
}

DestinationPage::~DestinationPage() = default;

void DestinationPage::initializePage()
{
    if (!m_activated) {
        m_activated = true;
        const bool cd = m_cd && m_cd->available();
        m_autoRunBox->setChecked(cd);
        m_spareBox->setChecked(cd);
        m_cdRadio->setEnabled(cd);
        m_discFolderBox->setChecked(false);
        m_discFolderBox->setEnabled(cd && m_cd->takesDiscFolder());
        (cd ? m_cdRadio : m_folderRadio)->setChecked(true);
    }
    m_neededSize->setText(QString::number(neededBytes()) + u' ');
    updateControls();
}

void DestinationPage::cleanupPage()
{
    // Going back keeps the destination; the wizard shows Back and Next again by itself.
}

bool DestinationPage::cdMode() const
{
    return m_cdRadio->isChecked() && m_cd && m_cd->available();
}

bool DestinationPage::autoRunChecked() const
{
    return m_autoRunBox->isChecked();
}

QString DestinationPage::discFolder() const
{
    return m_discFolderBox->isEnabled() && m_discFolderBox->isChecked() ? m_discFolderName->text()
                                                                        : QString();
}

// Also shows the free space of what is chosen: the disc's when the application tells it, else
// the folder's (the current one until a destination is chosen), or string 50387.
void DestinationPage::updateControls()
{
    const bool cd = cdMode();
    m_discFolderName->setEnabled(
        cd && m_discFolderBox->isEnabled() && m_discFolderBox->isChecked());
    m_autoRunBox->setEnabled(cd);
    m_spareBox->setEnabled(cd);
    m_browse->setEnabled(m_folderRadio->isChecked());
    const qint64 free = cd
        ? m_cd->freeBytes()
        : freeBytes(m_destination.isEmpty() ? QDir::currentPath() : m_destination);
    m_freeSpace->setText(
        free < 0 ? loadString(Message::kFreeSpaceUnknown) + u' ' : QString::number(free) + u' ');
}

bool DestinationPage::chooseDestination(const QString &folder)
{
    const QString chosen = QDir::cleanPath(folder) + u'/';
    if (chosen == workingFolder())
        return false;
    m_destination = chosen;
    m_folderText->setText(QDir::toNativeSeparators(m_destination));
    m_folderRadio->setChecked(true);
    updateControls();
    return true;
}

void DestinationPage::browse()
{
    const QString folder
        = pickFolder(this, m_destination.isEmpty() ? m_setup.startFolder : m_destination);
    if (!folder.isEmpty())
        chooseDestination(folder);
}

void DestinationPage::folderRadioClicked()
{
    if (m_destination.isEmpty())
        browse();
    // The CD is the other choice; while it cannot be taken the folder stays chosen.
    if (m_destination.isEmpty() && m_cdRadio->isEnabled()) {
        m_cdRadio->setChecked(true);
        m_cdRadio->setFocus();
    }
    updateControls();
}

namespace
{

// The folder name a product offers when the chosen folder holds other files.
QString subfolderName(PackageKind kind)
{
    switch (kind) {
    case PackageKind::WebAlbum:
        return QStringLiteral("Web Album");
    case PackageKind::SlideShow:
        return QStringLiteral("Slide Show");
    case PackageKind::Postcard:
        return QStringLiteral("Video Postcard");
    }
    return {};
}

} // namespace

bool DestinationPage::folderAccepted()
{
    m_replaceEarlier = false;
    const QString folder = QDir::cleanPath(m_destination);
    const PackageFolder found = examinePackageFolder(folder, m_setup.kind);
    const QString product = packageKindName(m_setup.kind);
    switch (found.state) {
    case FolderState::Missing:
    case FolderState::Empty:
        return true;
    case FolderState::EarlierPackage:
        m_replaceEarlier
            = host().showText(tr("%1 holds an earlier %2.\n\nReplace it? Only the files of the "
                                 "earlier %2 are removed.")
                                  .arg(QDir::toNativeSeparators(folder), product),
                  MessageIcon::Question, MessageButtons::YesNo, 0)
            == MessageAnswer::Yes;
        return m_replaceEarlier;
    case FolderState::Refused:
        break;
    }
    const QString subfolder = freshSubfolder(folder, subfolderName(m_setup.kind));
    if (host().showText(tr("%1: %2.\n\nMake the %3 in the new folder %4 instead?")
                            .arg(QDir::toNativeSeparators(folder), found.cause, product,
                                QDir::toNativeSeparators(subfolder)),
            MessageIcon::Question, MessageButtons::YesNo, 0)
        != MessageAnswer::Yes)
        return false;
    return chooseDestination(subfolder);
}

bool DestinationPage::readyToFinish()
{
    if (!cdMode()) {
        if (!m_destination.isEmpty())
            return folderAccepted();
        host().showMessage(m_setup.noFolderMessage);
        return false;
    }
    if (m_discFolderBox->isChecked()) {
        QString name = m_discFolderName->text();
        if (!m_setup.acceptDiscFolder(name)) {
            host().showText(
                loadString(Message::kForbiddenDiscFolderCharacters) + m_setup.forbiddenText,
                MessageIcon::Warning, MessageButtons::Ok, Message::kForbiddenDiscFolderCharacters,
                { loadString(Message::kWarningTitle) });
            return false;
        }
        m_discFolderName->setText(name);
    }
    if (m_cd->applicationBusy()) {
        host().showMessage(Message::kCdApplicationBusy);
        return false;
    }
    return true;
}

QString pickFolder(QWidget *parent, const QString &start)
{
    QFileDialog dialog(parent, loadString(Message::kFolderPickerTitle), start);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setLabelText(QFileDialog::Accept, loadString(Message::kSelectButton));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace glimmerix
