#include "webalbumpages.h"

#include "pickpage.h"

#include "core/controlids.h"
#include "core/folders.h"
#include "core/messageids.h"
#include "core/resourceids.h"
#include "platform/host.h"
#include "platform/strings.h"
#include "publish/productfiles.h"
#include "publish/webalbumgenerator.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QWizard>

namespace glimmerix
{

namespace
{

template<typename Widget> Widget *named(Widget *widget, int id)
{
    widget->setObjectName(pageControlName(id));
    return widget;
}

QString freeSpaceText(const QString &folder)
{
    const qint64 free = freeBytes(folder);
    if (free < 0)
        return loadString(Message::kFreeSpaceUnknown) + u' ';
    return QString::number(free) + u' ';
}

} // namespace

// ---- layout

CWebPage2::CWebPage2(WebAlbumOptions &options, QWidget *parent)
    : QWizardPage(parent)
    , m_options(options)
    , m_columns(named(new QSpinBox(this), WebLayoutControl::kColumns))
    , m_rows(named(new QSpinBox(this), WebLayoutControl::kRows))
    , m_perPage(named(new QLabel(this), WebLayoutControl::kPerPageText))
    , m_title(named(new QLineEdit(this), WebLayoutControl::kTitle))
    , m_theme(named(new QComboBox(this), WebLayoutControl::kTheme))
    , m_sizes { named(new QRadioButton(tr("&Small"), this), WebLayoutControl::kSmall),
        named(new QRadioButton(tr("&Medium"), this), WebLayoutControl::kMedium),
        named(new QRadioButton(tr("&Large"), this), WebLayoutControl::kLarge) }
{
    setObjectName(QStringLiteral("webLayoutPage"));
    setProperty("helpTopic", HelpTopic::kWebLayoutPage);
    setTitle(tr("Page Layout"));
    setSubTitle(tr("Choose how many thumbnails each page holds and how the pages look."));
    for (QSpinBox *spin : { m_columns, m_rows }) {
        spin->setRange(WebAlbumOptions::kMinGrid, WebAlbumOptions::kMaxGrid);
        spin->setDisplayIntegerBase(10);
        connect(spin, &QSpinBox::valueChanged, this, &CWebPage2::showPerPage);
    }
    auto *sizes = new QHBoxLayout;
    for (QRadioButton *radio : m_sizes)
        sizes->addWidget(radio);
    auto *form = new QFormLayout(this);
    form->addRow(tr("&Columns per row:"), m_columns);
    form->addRow(tr("&Rows per page:"), m_rows);
    form->addRow(QString(), m_perPage);
    form->addRow(tr("Page &title:"), m_title);
    form->addRow(tr("T&heme:"), m_theme);
    form->addRow(tr("Thumbnail size:"), sizes);
}

void CWebPage2::initializePage()
{
    if (wizard())
        wizard()->setOption(QWizard::NoBackButtonOnStartPage, true);
    if (m_activated)
        return;
    m_activated = true;
    for (int id : { Message::kThemePlainWhite, Message::kThemeNightSky, Message::kThemeDeepBlue,
             Message::kThemeParchment, Message::kThemeSunshine })
        m_theme->addItem(loadString(id));
    m_theme->setCurrentIndex(m_options.theme);
    m_columns->setValue(m_options.columns);
    m_rows->setValue(m_options.rows);
    m_title->setText(m_options.title);
    m_sizes[std::clamp(m_options.thumbnailSize, 0, 2)]->setChecked(true);
    showPerPage();
}

void CWebPage2::showPerPage()
{
    m_perPage->setText(formatString(
        Message::kThumbnailsPerPage, { QString::number(m_columns->value() * m_rows->value()) }));
}

bool CWebPage2::validatePage()
{
    m_options.columns = m_columns->value();
    m_options.rows = m_rows->value();
    m_options.title = m_title->text();
    m_options.theme = m_theme->currentIndex();
    // A size radio that is not checked leaves the choice as it was.
    for (int size = 0; size < 3; ++size) {
        if (m_sizes[size]->isChecked())
            m_options.thumbnailSize = size;
    }
    return true;
}

// ---- captions

CWebPage3::CWebPage3(
    WebAlbumOptions &options, const std::array<QString, 3> &fieldLabels, QWidget *parent)
    : QWizardPage(parent)
    , m_options(options)
    , m_name(named(new QCheckBox(tr("File &name"), this), WebCaptionsControl::kName))
    , m_size(named(new QCheckBox(tr("File &size"), this), WebCaptionsControl::kSize))
    , m_fields { named(new QCheckBox(fieldLabels[0], this), WebCaptionsControl::kField1),
        named(new QCheckBox(fieldLabels[1], this), WebCaptionsControl::kField2),
        named(new QCheckBox(fieldLabels[2], this), WebCaptionsControl::kField3) }
{
    setObjectName(QStringLiteral("webCaptionsPage"));
    setProperty("helpTopic", HelpTopic::kWebCaptionsPage);
    setTitle(tr("Captions"));
    setSubTitle(tr("Choose what is written under each thumbnail."));
    auto *layout = new QVBoxLayout(this);
    for (QCheckBox *box : { m_name, m_size, m_fields[0], m_fields[1], m_fields[2] })
        layout->addWidget(box);
    layout->addStretch();
}

void CWebPage3::initializePage()
{
    if (m_activated)
        return;
    m_activated = true;
    m_name->setChecked(m_options.showName);
    m_size->setChecked(m_options.showSize);
    for (int field = 0; field < 3; ++field)
        m_fields[field]->setChecked(m_options.showField.at(field));
}

bool CWebPage3::validatePage()
{
    m_options.showName = m_name->isChecked();
    m_options.showSize = m_size->isChecked();
    for (int field = 0; field < 3; ++field)
        m_options.showField.at(field) = m_fields[field]->isChecked();
    return true;
}

// ---- destination

CWebPage4::CWebPage4(ItemPicker &picker, WebAlbumOptions &options, const AppSettings &settings,
    std::unique_ptr<CdDelivery> cd, QWidget *parent)
    : QWizardPage(parent)
    , m_picker(picker)
    , m_options(options)
    , m_settings(settings)
    , m_cdRadio(named(new QRadioButton(tr("&CD"), this), WebDestinationControl::kCdRadio))
    , m_folderRadio(
          named(new QRadioButton(tr("&Folder"), this), WebDestinationControl::kFolderRadio))
    , m_browse(named(new QPushButton(tr("&Browse..."), this), WebDestinationControl::kBrowse))
    , m_folderText(named(new QLabel(this), WebDestinationControl::kFolderText))
    , m_neededSize(named(new QLabel(this), WebDestinationControl::kNeededSize))
    , m_freeSpace(named(new QLabel(this), WebDestinationControl::kFreeSpace))
    , m_autoRunBox(named(new QCheckBox(tr("AutoRun"), this), WebDestinationControl::kAutoRunBox))
    , m_spareBox(named(new QCheckBox(this), WebDestinationControl::kSpareBox))
    , m_discFolderBox(named(new QCheckBox(tr("Put the album in a &disc folder:"), this),
          WebDestinationControl::kDiscFolderBox))
    , m_discFolderName(named(new QLineEdit(this), WebDestinationControl::kDiscFolderName))
    , m_cd(std::move(cd))
{
    setObjectName(QStringLiteral("webDestinationPage"));
    setProperty("helpTopic", HelpTopic::kWebDestinationPage);
    setTitle(tr("Destination"));
    setSubTitle(tr("Choose where the web album goes, then choose Finish."));
    setFinalPage(true);
    layOutDestinationPage(this,
        { m_cdRadio, m_discFolderBox, m_discFolderName, m_folderRadio, m_browse, m_folderText,
            m_neededSize, m_freeSpace, { m_autoRunBox, m_spareBox } });

    m_autoRunBox->hide();
    m_spareBox->hide();
    if (!m_cd || !m_cd->available())
        m_cdRadio->setText(tr("&CD (no CD application)"));

    connect(m_folderRadio, &QRadioButton::clicked, this, &CWebPage4::folderRadioClicked);
    connect(m_cdRadio, &QRadioButton::clicked, this, &CWebPage4::cdRadioClicked);
    connect(m_browse, &QPushButton::clicked, this, &CWebPage4::browse);
    connect(m_discFolderBox, &QCheckBox::toggled, this, &CWebPage4::updateControls);
}

CWebPage4::~CWebPage4() = default;

void CWebPage4::initializePage()
{
    if (!m_activated) {
        m_activated = true;
        const bool cd = m_cd && m_cd->available();
        m_autoRunBox->setChecked(cd);
        m_spareBox->setChecked(cd);
        m_cdRadio->setEnabled(cd);
        m_autoRunBox->setEnabled(cd);
        m_spareBox->setEnabled(cd);
        m_discFolderBox->setChecked(false);
        m_discFolderBox->setEnabled(cd && m_cd->takesDiscFolder());
        (cd ? m_cdRadio : m_folderRadio)->setChecked(true);
    }
    m_neededSize->setText(QString::number(m_picker.sizeEstimate()) + u' ');
    if (cdMode())
        showCdFreeSpace();
    else if (m_destination.isEmpty())
        m_freeSpace->setText(freeSpaceText(QDir::currentPath()));
    else
        showFreeSpace();
    updateControls();
}

bool CWebPage4::cdMode() const
{
    return m_cdRadio->isChecked() && m_cd && m_cd->available();
}

// The disc's free space when the application tells it, else string 50387.
void CWebPage4::showCdFreeSpace()
{
    const qint64 free = m_cd ? m_cd->freeBytes() : -1;
    m_freeSpace->setText(
        free < 0 ? loadString(Message::kFreeSpaceUnknown) + u' ' : QString::number(free) + u' ');
}

void CWebPage4::cdRadioClicked()
{
    if (!m_cd || !m_cd->available())
        return;
    showCdFreeSpace();
    updateControls();
}

void CWebPage4::cleanupPage()
{
    // Going back keeps the destination; the wizard shows Back and Next again by itself.
}

void CWebPage4::updateControls()
{
    const bool cd = cdMode();
    m_discFolderName->setEnabled(
        cd && m_discFolderBox->isEnabled() && m_discFolderBox->isChecked());
    m_autoRunBox->setEnabled(cd);
    m_spareBox->setEnabled(cd);
    m_browse->setEnabled(m_folderRadio->isChecked());
}

void CWebPage4::showFreeSpace()
{
    m_freeSpace->setText(freeSpaceText(m_destination));
}

bool CWebPage4::chooseDestination(const QString &folder)
{
    QString chosen = QDir::cleanPath(folder) + u'/';
    // The working folder itself is no destination: the copies would overwrite themselves.
    if (chosen == m_picker.workingFolder())
        return false;
    m_destination = chosen;
    m_folderText->setText(QDir::toNativeSeparators(m_destination));
    showFreeSpace();
    m_folderRadio->setChecked(true);
    updateControls();
    return true;
}

void CWebPage4::browse()
{
    const QString start = m_destination.isEmpty() ? Folders().webAlbumFolder() : m_destination;
    const QString folder = pickFolder(this, start);
    if (!folder.isEmpty())
        chooseDestination(folder);
}

void CWebPage4::folderRadioClicked()
{
    if (m_destination.isEmpty())
        browse();
    if (m_destination.isEmpty()) {
        // The CD is the other choice; while it cannot be taken the folder stays chosen.
        if (m_cdRadio->isEnabled()) {
            m_cdRadio->setChecked(true);
            m_cdRadio->setFocus();
        }
        return;
    }
    showFreeSpace();
    updateControls();
}

bool CWebPage4::checkDiscFolderName()
{
    return acceptDiscFolderField(m_discFolderBox, m_discFolderName);
}

void layOutDestinationPage(QWizardPage *page, const DestinationControls &controls)
{
    auto *group = new QButtonGroup(page);
    group->addButton(controls.cd);
    group->addButton(controls.folder);
    controls.folderText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *grid = new QGridLayout(page);
    grid->addWidget(controls.cd, 0, 0, 1, 3);
    grid->addWidget(controls.discFolderBox, 1, 1);
    grid->addWidget(controls.discFolderName, 1, 2);
    grid->addWidget(controls.folder, 2, 0, 1, 2);
    grid->addWidget(controls.browse, 2, 2, Qt::AlignRight);
    grid->addWidget(controls.folderText, 3, 1, 1, 2);
    grid->addWidget(new QLabel(QWizardPage::tr("Space needed (bytes):"), page), 4, 0, 1, 2);
    grid->addWidget(controls.neededSize, 4, 2);
    grid->addWidget(new QLabel(QWizardPage::tr("Free space (bytes):"), page), 5, 0, 1, 2);
    grid->addWidget(controls.freeSpace, 5, 2);
    int column = 0;
    for (QWidget *widget : controls.lastRow)
        grid->addWidget(widget, 6, column++);
    grid->setRowStretch(controls.lastRow.isEmpty() ? 6 : 7, 1);
    grid->setColumnMinimumWidth(0, 20);
}

bool acceptDiscFolderField(const QCheckBox *box, QLineEdit *nameField)
{
    if (!box->isChecked())
        return true;
    QString name = nameField->text();
    if (!acceptDiscFolderName(name)) {
        host().showText(loadString(Message::kForbiddenDiscFolderCharacters)
                + QStringLiteral(" .  ?  :  *  >  <    /  \\  |"),
            MessageIcon::Warning, MessageButtons::Ok, Message::kForbiddenDiscFolderCharacters,
            { loadString(Message::kWarningTitle) });
        return false;
    }
    nameField->setText(name);
    return true;
}

bool CWebPage4::validatePage()
{
    if (cdMode()) {
        if (!checkDiscFolderName())
            return false;
        if (m_cd->applicationBusy()) {
            host().showMessage(Message::kCdApplicationBusy);
            return false;
        }
    } else if (m_destination.isEmpty()) {
        host().showMessage(Message::kNoWebAlbumFolder);
        return false;
    }
    return generate();
}

bool CWebPage4::generate()
{
    const bool cd = cdMode();
    // Our disc component records before Finish returns; applications that read the files later
    // need the working copies kept.
    m_picker.setDeleteOnClose(!cd || !m_cd->keepsWorkingFiles());
    WebAlbumGenerator generator(m_picker, defaultWebAlbumSetup(m_options, m_settings));
    {
        std::unique_ptr<Progress> progress = host().createProgress();
        if (generator.makeThumbnails(progress.get()))
            generator.writePages();
        progress->close();
    }
    if (QWidget *main = parentWidget() ? parentWidget()->window() : nullptr)
        main->activateWindow();
    if (cd) {
        CdProduct product;
        product.projectName = QStringLiteral("WebAlbum");
        product.workingFolder = m_picker.workingFolder();
        product.autoRunProduct = AutoRunProduct::WebAlbum;
        product.autoRun = m_autoRunBox->isChecked();
        if (m_discFolderBox->isEnabled() && m_discFolderBox->isChecked())
            product.discFolder = m_discFolderName->text();
        product.files = generator.outputs();
        product.programSource = generator.viewerSource();
        product.programName = autoRunProgramName(AutoRunProduct::WebAlbum);
        if (!m_cd->deliver(product)) {
            // Not recorded (the user was told why, or declined): the page stays for another try.
            generator.cleanWorkingFolder(true);
            return false;
        }
    } else {
        generator.deliverToFolder(m_destination);
    }
    if (!cd || !m_cd->keepsWorkingFiles())
        generator.cleanWorkingFolder(!cd);
    QStringList problems = m_picker.problems();
    problems += generator.problems();
    if (!problems.isEmpty())
        host().showMessage(Message::kProductProblems, { problems.join(u'\n') });
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
