#include "postcardpages.h"

#include "pickpage.h"

#include "album/dibimage.h"
#include "core/controlids.h"
#include "core/folders.h"
#include "core/messageids.h"
#include "core/resourceids.h"
#include "imaging/dib.h"
#include "platform/host.h"
#include "platform/strings.h"
#include "publish/postcardformat.h"
#include "publish/postcardpackage.h"
#include "publish/productfiles.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMediaPlayer>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QVideoFrame>
#include <QVideoSink>

namespace glimmerix
{

namespace
{

// `picture` drawn at `scale` with a black rectangle (or the clip's picture) at `window`.
QImage framePreview(const QImage &picture, QRect window, qreal scale, const QImage &clip = {})
{
    const QSize area = QSize(kCardWidth, kCardHeight) * scale;
    QImage preview(area, QImage::Format_RGB32);
    preview.fill(QColor(64, 64, 64));
    if (picture.isNull())
        return preview;
    QPainter painter(&preview);
    const QSize size = picture.size() * scale;
    const QPoint origin((area.width() - size.width()) / 2, (area.height() - size.height()) / 2);
    painter.drawImage(QRect(origin, size), picture);
    const QRect target(origin + window.topLeft() * scale, window.size() * scale);
    painter.fillRect(target, Qt::black);
    if (!clip.isNull()) {
        QRect fitted(QPoint(), clip.size().scaled(target.size(), Qt::KeepAspectRatio));
        fitted.moveCenter(target.center());
        painter.drawImage(fitted, clip);
    }
    return preview;
}

} // namespace

// ---- shared state

PostcardFrameChoice PostcardWizardState::frameChoice() const
{
    PostcardFrameChoice choice;
    choice.large = large;
    if (ownPictureChosen) {
        choice.ownPicture = ownPicture.handle();
    } else if (catalogIndex >= 0 && catalogIndex < catalogs.size()) {
        choice.catalog = &catalogs.at(catalogIndex);
        choice.frameIndex = frameIndex;
    }
    return choice;
}

QImage PostcardWizardState::framePicture(QRect *window) const
{
    const PostcardFrameChoice choice = frameChoice();
    if (isBlockHandle(choice.ownPicture)) {
        const QImage picture = imageFromDibBlock(choice.ownPicture);
        *window = centredWindow(picture.size(), large);
        return picture;
    }
    if (!choice.catalog || choice.frameIndex < 0
        || choice.frameIndex >= choice.catalog->frames.size())
        return {};
    const CatalogFrame &frame = choice.catalog->frames.at(choice.frameIndex);
    *window = large ? frame.largeWindow : frame.smallWindow;
    return QImage::fromData(readCatalogFrameData(*choice.catalog, frame, nullptr));
}

qint64 PostcardWizardState::frameBytes() const
{
    const PostcardFrameChoice choice = frameChoice();
    if (isBlockHandle(choice.ownPicture))
        return 14 + packedDibBytes(choice.ownPicture).size();
    if (choice.catalog && choice.frameIndex >= 0
        && choice.frameIndex < choice.catalog->frames.size())
        return choice.catalog->frames.at(choice.frameIndex).frameSize;
    return 0;
}

// ---- frame page

CPostCard1::CPostCard1(PostcardWizardState &state, QWidget *parent)
    : QWizardPage(parent)
    , m_state(state)
    , m_catalogRadio(namedControl(new QRadioButton(tr("A frame from a &catalog"), this),
          PostcardFrameControl::kCatalogRadio))
    , m_ownRadio(namedControl(
          new QRadioButton(tr("Your &own picture"), this), PostcardFrameControl::kOwnPictureRadio))
    , m_smallRadio(namedControl(new QRadioButton(tr("&Small video window"), this),
          PostcardFrameControl::kSmallWindowRadio))
    , m_largeRadio(namedControl(new QRadioButton(tr("&Large video window"), this),
          PostcardFrameControl::kLargeWindowRadio))
    , m_catalogList(namedControl(new QComboBox(this), PostcardFrameControl::kCatalogList))
    , m_frameList(namedControl(new QListWidget(this), PostcardFrameControl::kFrameList))
    , m_browse(namedControl(new QPushButton(tr("&Browse..."), this), PostcardFrameControl::kBrowse))
    , m_path(namedControl(new QLabel(this), PostcardFrameControl::kPicturePath))
    , m_preview(namedControl(new QLabel(this), PostcardFrameControl::kPreview))
{
    setObjectName(QStringLiteral("postcardFramePage"));
    setProperty("helpTopic", HelpTopic::kPostcardFramePage);
    setTitle(tr("Frame"));
    setSubTitle(tr("Choose the picture around the video window."));
    auto *source = new QButtonGroup(this);
    source->addButton(m_catalogRadio);
    source->addButton(m_ownRadio);
    auto *size = new QButtonGroup(this);
    size->addButton(m_smallRadio);
    size->addButton(m_largeRadio);
    m_frameList->setIconSize(QSize(75, 55));
    m_frameList->setMinimumHeight(200);
    m_preview->setFixedSize(kCardWidth / 4, kCardHeight / 4);
    m_path->setWordWrap(true);

    auto *grid = new QGridLayout(this);
    grid->addWidget(m_catalogRadio, 0, 0);
    grid->addWidget(m_catalogList, 1, 0);
    grid->addWidget(m_frameList, 2, 0, 3, 1);
    grid->addWidget(m_ownRadio, 0, 1);
    grid->addWidget(m_browse, 1, 1);
    grid->addWidget(m_path, 2, 1);
    grid->addWidget(m_preview, 3, 1);
    grid->addWidget(m_smallRadio, 5, 0);
    grid->addWidget(m_largeRadio, 5, 1);

    connect(m_catalogRadio, &QRadioButton::toggled, this, [this](bool on) {
        m_state.ownPictureChosen = !on;
        updatePreview();
    });
    connect(m_largeRadio, &QRadioButton::toggled, this, [this](bool on) {
        m_state.large = on;
        updatePreview();
    });
    connect(m_catalogList, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_state.catalogIndex = index;
        showFrames();
    });
    connect(m_frameList, &QListWidget::currentRowChanged, this, [this](int row) {
        m_state.frameIndex = row;
        updatePreview();
    });
    connect(m_browse, &QPushButton::clicked, this, &CPostCard1::browse);
}

void CPostCard1::initializePage()
{
    if (m_activated)
        return;
    m_activated = true;
    fillCatalogs();
    const bool any = !m_state.catalogs.isEmpty();
    m_catalogList->setEnabled(any);
    m_frameList->setEnabled(any);
    m_catalogRadio->setEnabled(any);
    (any ? m_catalogRadio : m_ownRadio)->setChecked(true);
    m_state.ownPictureChosen = !any;
    m_smallRadio->setChecked(true);
    updatePreview();
}

void CPostCard1::fillCatalogs()
{
    const WaitCursor wait;
    QStringList folders = m_state.templateFolders;
    // The CD's catalogs: ask for the disc until it holds some or the user gives up.
    if (!m_state.cdTemplateFolder.isEmpty()) {
        while (QDir(m_state.cdTemplateFolder)
                   .entryList({ QStringLiteral("*.cat") }, QDir::Files)
                   .isEmpty()) {
            if (host().showMessage(Message::kInsertTemplateCd, { m_state.cdDrive },
                    MessageIcon::Warning, MessageButtons::RetryCancel)
                != MessageAnswer::Retry)
                break;
        }
    }
    QStringList problems;
    m_state.catalogs = findFrameCatalogs(folders, &problems);
    const QString language = loadString(Message::kInterfaceLanguageName);
    for (const FrameCatalog &catalog : std::as_const(m_state.catalogs))
        m_catalogList->addItem(catalogDisplayName(catalog, language));
    if (!problems.isEmpty())
        host().showMessage(Message::kProductProblems, { problems.join(u'\n') });
}

void CPostCard1::showFrames()
{
    m_frameList->clear();
    if (m_state.catalogIndex < 0 || m_state.catalogIndex >= m_state.catalogs.size())
        return;
    for (const CatalogFrame &frame :
        std::as_const(m_state.catalogs.at(m_state.catalogIndex).frames)) {
        QImage thumbnail = QImage::fromData(frame.thumbnail);
        if (thumbnail.isNull())
            thumbnail = QImage::fromData(bmpFileBytes(frame.thumbnail), "BMP");
        m_frameList->addItem(new QListWidgetItem(QPixmap::fromImage(thumbnail), frame.name));
    }
    m_frameList->setCurrentRow(m_frameList->count() > 0 ? 0 : -1);
}

void CPostCard1::browse()
{
    const QString start
        = m_state.ownPictureFolder.isEmpty() ? Folders().photosFolder() : m_state.ownPictureFolder;
    const QString path = QFileDialog::getOpenFileName(this, QString(), start,
        tr("Pictures (*.bmp *.jpg *.tif *.pcx *.tga *.pcd);;All Files (*)"));
    if (!path.isEmpty())
        chooseOwnPicture(path);
}

bool CPostCard1::chooseOwnPicture(const QString &path)
{
    QString error;
    OwnedBlock picture = loadOwnFramePicture(path, &error);
    if (!picture) {
        host().showMessage(Message::kProductProblems, { path + QStringLiteral(": ") + error });
        return false;
    }
    m_state.ownPicture = std::move(picture);
    m_state.ownPictureFolder = QFileInfo(path).absolutePath();
    m_path->setText(QDir::toNativeSeparators(path));
    m_ownRadio->setChecked(true);
    m_state.ownPictureChosen = true;
    updatePreview();
    return true;
}

void CPostCard1::updatePreview()
{
    QRect window;
    const QImage picture = m_state.framePicture(&window);
    m_preview->setPixmap(QPixmap::fromImage(framePreview(picture, window, 0.25)));
}

bool CPostCard1::validatePage()
{
    if (m_state.ownPictureChosen && !m_state.ownPicture) {
        host().showMessage(Message::kNoFramePicture);
        return false;
    }
    return true;
}

// ---- text page

CPostCardText::CPostCardText(PostcardWizardState &state, const QString &systemLanguage,
    CardLanguage language, QWidget *parent)
    : QWizardPage(parent)
    , m_state(state)
    , m_language(language)
    , m_preview(new QLabel(this))
    , m_messageFont(defaultCardFont(0, systemLanguage))
{
    setObjectName(QStringLiteral("postcardTextPage"));
    setProperty("helpTopic", HelpTopic::kPostcardTextPage);
    setTitle(tr("Card Text"));
    setSubTitle(tr("Write your message and the two short lines on the card."));
    m_preview->setFixedSize(kCardWidth * 3 / 4, kCardHeight * 3 / 4);
    m_preview->setPixmap(QPixmap::fromImage(m_state.background.scaled(
        m_preview->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    auto *font
        = namedControl(new QPushButton(tr("&Font..."), this), PostcardTextControl::kFontButton);
    auto *colour = new QPushButton(tr("C&olour..."), this);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(font);
    buttons->addWidget(colour);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_preview, 0, Qt::AlignHCenter);
    layout->addLayout(buttons);
    connect(font, &QPushButton::clicked, this, &CPostCardText::chooseFont);
    connect(colour, &QPushButton::clicked, this, &CPostCardText::chooseColour);

    // The library's fields in the order it makes them: 1024, then 1025, then 1247.
    const int controls[] = { PostcardTextControl::kMessage, PostcardTextControl::kLowerLine,
        PostcardTextControl::kUpperLine };
    const int fieldOf[] = { 0, 2, 1 };
    for (int i = 0; i < kCardFieldCount; ++i) {
        const int index = fieldOf[i];
        const TextFieldHandle handle = CreateEditWindow(m_preview, controls[i], 0);
        if (!handle)
            continue;
        m_fields[size_t(index)] = handle;
        SetEditRectangle(handle, cardTextPlace(index, m_language).preview);
        SetEditColor(handle, m_colour);
        SetEditFont(handle, previewFont(defaultCardFont(index, systemLanguage)));
        auto *edit = m_preview->findChild<QPlainTextEdit *>(pageControlName(controls[i]));
        if (edit) {
            connect(
                edit, &QPlainTextEdit::textChanged, this, [this, index] { textChanged(index); });
        }
    }
}

CPostCardText::~CPostCardText()
{
    for (TextFieldHandle handle : m_fields)
        DestroyEditWindow(handle);
}

void CPostCardText::textChanged(int index)
{
    const int controls[] = { PostcardTextControl::kMessage, PostcardTextControl::kUpperLine,
        PostcardTextControl::kLowerLine };
    if (OnChangeNotification(m_fields[size_t(index)], controls[index]) || m_warning)
        return;
    // The text no longer fits: say so once per change (the box would open again while typing).
    m_warning = true;
    host().showMessage(Message::kCardTextDoesNotFit, {}, MessageIcon::Warning, MessageButtons::Ok,
        { loadString(Message::kProductName) });
    m_warning = false;
}

void CPostCardText::chooseFont()
{
    bool ok = false;
    QFont shown = m_messageFont;
    shown.setPointSize(std::max(1, m_messageFont.pixelSize() * 72 / 96));
    QFont chosen = QFontDialog::getFont(&ok, shown, this);
    if (!ok)
        return;
    const int points = chosen.pointSize() > 0 ? chosen.pointSize() : chosen.pixelSize() * 72 / 96;
    chosen.setPixelSize(std::max(1, points * 96 / 72));
    const QFont scaled = previewFont(chosen);
    if (!CheckEditFont(m_fields[0], scaled)) {
        host().showMessage(Message::kCardTextDoesNotFit, {}, MessageIcon::Warning,
            MessageButtons::Ok, { loadString(Message::kProductName) });
        return;
    }
    m_messageFont = chosen;
    SetEditColor(m_fields[0], m_colour);
    SetEditFont(m_fields[0], scaled);
}

void CPostCardText::chooseColour()
{
    const QColor chosen = QColorDialog::getColor(m_colour, this);
    if (!chosen.isValid())
        return;
    m_colour = chosen;
    SetEditColor(m_fields[0], m_colour);
}

QImage CPostCardText::cardPicture() const
{
    QImage card
        = m_state.background.convertToFormat(QImage::Format_RGB32)
              .scaled(kCardWidth, kCardHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    for (int index = 0; index < kCardFieldCount; ++index) {
        const QPoint at = cardTextPlace(index, m_language).card;
        MergeTextPercentage(m_fields[size_t(index)], card, at.x(), at.y(), 75, 1);
    }
    return card;
}

// ---- clip page

CPostCard2::CPostCard2(PostcardWizardState &state, const CPostCardText &text, QWidget *parent)
    : QWizardPage(parent)
    , m_state(state)
    , m_text(text)
    , m_path(new QLabel(this))
    , m_preview(new QLabel(this))
    , m_estimate(new QLabel(this))
    , m_open(namedControl(new QPushButton(tr("&Open..."), this), PostcardClipControl::kOpen))
    , m_play(namedControl(new QPushButton(tr("&Play"), this), PostcardClipControl::kPlay))
    , m_stop(namedControl(new QPushButton(tr("&Stop"), this), PostcardClipControl::kStop))
{
    setObjectName(QStringLiteral("postcardClipPage"));
    setTitle(tr("Video Clip"));
    setSubTitle(tr("Choose the clip that plays in the frame's window."));
    m_preview->setFixedSize(2 * kCardWidth / 2 + 8, kCardHeight / 2);
    m_path->setWordWrap(true);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_open);
    buttons->addWidget(m_play);
    buttons->addWidget(m_stop);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_preview, 0, Qt::AlignHCenter);
    layout->addLayout(buttons);
    layout->addWidget(m_path);
    layout->addWidget(m_estimate);
    connect(m_open, &QPushButton::clicked, this, &CPostCard2::open);
    connect(m_play, &QPushButton::clicked, this, &CPostCard2::play);
    connect(m_stop, &QPushButton::clicked, this, &CPostCard2::stop);
}

void CPostCard2::initializePage()
{
    m_card = m_text.cardPicture().scaled(
        kCardWidth / 2, kCardHeight / 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    m_frame = m_state.framePicture(&m_window);
    m_clipPicture = QImage();
    m_path->setText(QDir::toNativeSeparators(m_state.clipPath));
    m_stop->setEnabled(false);
    m_play->setEnabled(!m_state.clipPath.isEmpty());
    showPreview();
    showEstimate();
}

void CPostCard2::cleanupPage()
{
    stop();
}

bool CPostCard2::validatePage()
{
    stop();
    return true;
}

void CPostCard2::open()
{
    const QString path = QFileDialog::getOpenFileName(this, loadString(Message::kClipDialogTitle),
        Folders().videoFolder(), tr("Video Clips (*.avi *.mov *.mpeg *.mpg)"));
    if (!path.isEmpty())
        chooseClip(path);
}

bool CPostCard2::chooseClip(const QString &path)
{
    const QString problem = postcardClipProblem(path);
    if (!problem.isEmpty()) {
        host().showMessage(Message::kProductProblems, { path + QStringLiteral(": ") + problem });
        return false;
    }
    stop();
    m_state.clipPath = path;
    m_path->setText(QDir::toNativeSeparators(path));
    m_play->setEnabled(true);
    showEstimate();
    play();
    return true;
}

void CPostCard2::play()
{
    if (m_state.clipPath.isEmpty())
        return;
    if (!m_player) {
        m_player = new QMediaPlayer(this);
        auto *sink = new QVideoSink(this);
        connect(sink, &QVideoSink::videoFrameChanged, this, [this](const QVideoFrame &frame) {
            const QImage image = frame.toImage();
            if (image.isNull())
                return;
            m_clipPicture = image;
            showPreview();
        });
        m_player->setVideoSink(sink);
        connect(m_player, &QMediaPlayer::playbackStateChanged, this,
            [this](QMediaPlayer::PlaybackState state) {
                const bool playing = state == QMediaPlayer::PlayingState;
                m_open->setEnabled(!playing);
                m_stop->setEnabled(playing);
            });
    }
    m_player->setSource(QUrl::fromLocalFile(m_state.clipPath));
    m_player->play();
}

void CPostCard2::stop()
{
    if (m_player)
        m_player->stop();
}

void CPostCard2::showPreview()
{
    QImage preview(m_preview->size(), QImage::Format_RGB32);
    preview.fill(palette().color(QPalette::Window));
    QPainter painter(&preview);
    painter.drawImage(0, 0, framePreview(m_frame, m_window, 0.5, m_clipPicture));
    painter.drawImage(kCardWidth / 2 + 8, 0, m_card);
    painter.end();
    m_preview->setPixmap(QPixmap::fromImage(preview));
}

void CPostCard2::showEstimate()
{
    const qint64 clip = m_state.clipPath.isEmpty() ? 0 : QFileInfo(m_state.clipPath).size();
    const qint64 total = clip + m_state.frameBytes() + m_state.backgroundBytes;
    m_estimate->setText(tr("Estimated size: %1 bytes").arg(total));
}

// ---- destination page

CPostCard3::CPostCard3(PostcardWizardState &state, const CPostCardText &text,
    std::unique_ptr<CdDelivery> cd, QWidget *parent)
    : DestinationPage({ .folderTextId = WebDestinationControl::kFolderText,
                          .discFolderLabel = tr("Put the postcard in a &disc folder:"),
                          .startFolder = Folders().videoCardFolder(),
                          .noFolderMessage = Message::kNoPostcardFolder,
                          .acceptDiscFolder = acceptPostcardDiscFolderName,
                          .forbiddenText = QStringLiteral(" .  ?  :  *  >  <    /  \\  | ;"),
                          .kind = PackageKind::Postcard },
        std::move(cd), parent)
    , m_state(state)
    , m_text(text)
{
    setObjectName(QStringLiteral("postcardDestinationPage"));
    setProperty("helpTopic", HelpTopic::kPostcardDestinationPage);
    setSubTitle(tr("Choose where the postcard goes, then choose Finish."));
}

qint64 CPostCard3::neededBytes() const
{
    const qint64 clip = m_state.clipPath.isEmpty() ? 0 : QFileInfo(m_state.clipPath).size();
    const qint64 player = QFileInfo(postcardPlayerSource()).size();
    return clip + player + m_state.frameBytes() + PostcardLayout::kHeaderSize
        + PostcardLayout::kEntrySize + PostcardLayout::kWindowBlockSize + 40
        + kCardWidth * kCardHeight * 3;
}

QString CPostCard3::workingFolder() const
{
    return m_state.workingFolder;
}

bool CPostCard3::validatePage()
{
    if (!readyToFinish())
        return false;
    return cdMode() ? finishOnCd() : finishInFolder();
}

namespace
{

// Shows what a package outcome means to the user; true when it went well.
bool reported(const PostcardOutcome &outcome)
{
    switch (outcome.result) {
    case PostcardResult::Ok:
        return true;
    case PostcardResult::NoClip:
        host().showMessage(Message::kNoPostcardClip);
        return false;
    case PostcardResult::FileNotWritten:
        host().showMessage(Message::kPostcardFileNotWritten);
        return false;
    case PostcardResult::ClipUnusable:
    case PostcardResult::NoPlayer:
    case PostcardResult::CopyFailed:
        host().showMessage(Message::kProductProblems, { outcome.detail });
        return false;
    }
    return false;
}

} // namespace

bool CPostCard3::finishInFolder()
{
    std::unique_ptr<Progress> progress = host().createProgress();
    progress->setTitle(loadString(Message::kCopyingFiles));
    progress->setText(destination() + QStringLiteral("background.vtp"));
    progress->setRange(2);
    progress->show();
    PostcardPackage package(m_state.workingFolder, m_state.clipPath);
    bool done = reported(package.checkSources());
    if (done) {
        QString error;
        const std::optional<PostcardContent> content = makePostcardContent(
            m_state.frameChoice(), m_text.cardPicture(), m_state.clipPath, &error);
        done = content ? reported(package.writeFiles(*content))
                       : reported({ PostcardResult::FileNotWritten, error });
    }
    if (done)
        done = reported(package.deliverToFolder(destination(), progress.get(), replaceEarlier()));
    progress->close();
    return done;
}

bool CPostCard3::finishOnCd()
{
    PostcardPackage package(m_state.workingFolder, m_state.clipPath);
    if (!reported(package.checkSources()))
        return false;
    QString error;
    const std::optional<PostcardContent> content = makePostcardContent(
        m_state.frameChoice(), m_text.cardPicture(), m_state.clipPath, &error);
    if (!content || !reported(package.writeFiles(*content))) {
        if (!content)
            host().showMessage(Message::kPostcardFileNotWritten);
        return false;
    }
    CdProduct product;
    if (!reported(package.prepareDisc(product, discFolder())))
        return false;
    if (QWidget *wizard = window())
        wizard->hide();
    const bool delivered = cdDelivery().deliver(product);
    if (!delivered) {
        if (QWidget *wizard = window())
            wizard->show();
    }
    return delivered;
}

} // namespace glimmerix
