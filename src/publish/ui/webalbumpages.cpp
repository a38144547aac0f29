#include "webalbumpages.h"

#include "pickpage.h"

#include "core/controlids.h"
#include "core/folders.h"
#include "core/messageids.h"
#include "core/resourceids.h"
#include "platform/host.h"
#include "platform/strings.h"
#include "publish/webalbumgenerator.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QWizard>

namespace glimmerix
{

// ---- layout

CWebPage2::CWebPage2(WebAlbumOptions &options, QWidget *parent)
    : QWizardPage(parent)
    , m_options(options)
    , m_columns(namedControl(new QSpinBox(this), WebLayoutControl::kColumns))
    , m_rows(namedControl(new QSpinBox(this), WebLayoutControl::kRows))
    , m_perPage(namedControl(new QLabel(this), WebLayoutControl::kPerPageText))
    , m_title(namedControl(new QLineEdit(this), WebLayoutControl::kTitle))
    , m_theme(namedControl(new QComboBox(this), WebLayoutControl::kTheme))
    , m_sizes { namedControl(new QRadioButton(tr("&Small"), this), WebLayoutControl::kSmall),
        namedControl(new QRadioButton(tr("&Medium"), this), WebLayoutControl::kMedium),
        namedControl(new QRadioButton(tr("&Large"), this), WebLayoutControl::kLarge) }
    , m_crop(new QCheckBox(tr("Crop thumbnails to s&quares"), this))
    , m_originals(new QCheckBox(tr("Lin&k each picture's own file"), this))
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
    m_crop->setObjectName(QStringLiteral("responsiveCrop"));
    m_originals->setObjectName(QStringLiteral("responsiveOriginals"));
    form->addRow(QString(), m_crop);
    form->addRow(QString(), m_originals);
    connect(m_theme, &QComboBox::currentIndexChanged, this, [this](int theme) {
        m_crop->setEnabled(theme == WebAlbumOptions::kResponsiveTheme);
        m_originals->setEnabled(theme == WebAlbumOptions::kResponsiveTheme);
    });
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
    m_theme->addItem(tr("Responsive: phones to wide screens, with a lightbox"));
    m_crop->setChecked(m_options.cropThumbnails);
    m_originals->setChecked(m_options.linkOriginals);
    m_theme->setCurrentIndex(m_options.theme);
    m_crop->setEnabled(m_options.responsive());
    m_originals->setEnabled(m_options.responsive());
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
    m_options.cropThumbnails = m_crop->isChecked();
    m_options.linkOriginals = m_originals->isChecked();
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
    , m_name(namedControl(new QCheckBox(tr("File &name"), this), WebCaptionsControl::kName))
    , m_size(namedControl(new QCheckBox(tr("File &size"), this), WebCaptionsControl::kSize))
    , m_fields { namedControl(new QCheckBox(fieldLabels[0], this), WebCaptionsControl::kField1),
        namedControl(new QCheckBox(fieldLabels[1], this), WebCaptionsControl::kField2),
        namedControl(new QCheckBox(fieldLabels[2], this), WebCaptionsControl::kField3) }
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
    : DestinationPage({ .folderTextId = WebDestinationControl::kFolderText,
                          .discFolderLabel = tr("Put the album in a &disc folder:"),
                          .startFolder = Folders().webAlbumFolder(),
                          .noFolderMessage = Message::kNoWebAlbumFolder,
                          .kind = PackageKind::WebAlbum },
        std::move(cd), parent)
    , m_picker(picker)
    , m_options(options)
    , m_settings(settings)
{
    setObjectName(QStringLiteral("webDestinationPage"));
    setProperty("helpTopic", HelpTopic::kWebDestinationPage);
    setSubTitle(tr("Choose where the web album goes, then choose Finish."));
}

qint64 CWebPage4::neededBytes() const
{
    return m_picker.sizeEstimate();
}

QString CWebPage4::workingFolder() const
{
    return m_picker.workingFolder();
}

bool CWebPage4::validatePage()
{
    return readyToFinish() && generate();
}

bool CWebPage4::generate()
{
    const bool cd = cdMode();
    // Our disc component records before Finish returns; applications that read the files later
    // need the working copies kept.
    m_picker.setDeleteOnClose(!cd || !cdDelivery().keepsWorkingFiles());
    WebAlbumSetup setup = defaultWebAlbumSetup(m_options, m_settings);
    if (!cd && replaceEarlier())
        setup.earlierSite = destination();
    WebAlbumGenerator generator(m_picker, std::move(setup));
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
        product.autoRun = autoRunChecked();
        product.discFolder = discFolder();
        product.files = generator.outputs();
        product.programSource = generator.viewerSource();
        product.programName = autoRunProgramName(AutoRunProduct::WebAlbum);
        if (!cdDelivery().deliver(product)) {
            // Not recorded (the user was told why, or declined): the page stays for another try.
            generator.cleanWorkingFolder(true);
            return false;
        }
    } else {
        generator.deliverToFolder(destination(), replaceEarlier());
    }
    if (!cd || !cdDelivery().keepsWorkingFiles())
        generator.cleanWorkingFolder(!cd);
    QStringList problems = m_picker.problems();
    problems += generator.problems();
    if (!problems.isEmpty())
        host().showMessage(Message::kProductProblems, { problems.join(u'\n') });
    return true;
}

} // namespace glimmerix
