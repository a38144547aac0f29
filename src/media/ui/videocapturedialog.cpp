#include "videocapturedialog.h"

#include "capturepreview.h"
#include "clipplayerwindow.h"

#include "core/messageids.h"
#include "core/savenames.h"
#include "imaging/dib.h"
#include "imaging/picturetypes.h"
#include "media/capturesession.h"
#include "media/capturesound.h"
#include "media/soundrecorder.h"
#include "platform/fillin.h"
#include "platform/host.h"
#include "platform/strings.h"
#include "platform/uniquefiles.h"
#include "soundformatdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cstring>
#include <filesystem>

namespace glimmerix
{

namespace
{

// Puts `from` in place of `to` so that an existing `to` is replaced only once the new file is
// whole: a rename on the same file system, else a copy beside `to` renamed over it.
bool replaceFile(const QString &from, const QString &to)
{
    std::error_code error;
    std::filesystem::rename(
        QFile::encodeName(from).constData(), QFile::encodeName(to).constData(), error);
    if (!error)
        return true;
    const QString part = to + QStringLiteral(".part");
    QFile::remove(part);
    if (!QFile::copy(from, part))
        return false;
    std::filesystem::rename(
        QFile::encodeName(part).constData(), QFile::encodeName(to).constData(), error);
    if (error) {
        QFile::remove(part);
        return false;
    }
    QFile::remove(from);
    return true;
}

// The first pattern of a filter text like "Bitmap Pictures (*.bmp)|*.bmp||".
QString firstFilter(const QString &text)
{
    return text.section(u'|', 0, 0);
}

} // namespace

VideoCaptureDialog::VideoCaptureDialog(
    const QString &videoFolder, const QString &photosFolder, Drivers drivers, QWidget *parent)
    : QDialog(parent)
    , m_videoFolder(videoFolder)
    , m_photosFolder(photosFolder)
    , m_drivers(std::move(drivers))
    , m_capturePath(
          createPrivateFile(videoFolder, QStringLiteral("capture"), QStringLiteral(".tmp")))
    , m_preview(new CapturePreview(this))
{
    setObjectName(QStringLiteral("videoCapture"));
    setWindowTitle(tr("Video Capture"));
    const auto button
        = [this](const char *name, const QString &text, void (VideoCaptureDialog::*run)()) {
              auto *push = new QPushButton(text, this);
              push->setObjectName(QString::fromLatin1(name));
              push->setAutoDefault(false);
              if (run)
                  connect(push, &QPushButton::clicked, this, run);
              return push;
          };
    m_driverList = new QComboBox(this);
    m_driverList->setObjectName(QStringLiteral("driverList"));
    m_videoFormat
        = button("videoFormat", tr("Video &Format..."), &VideoCaptureDialog::chooseFormat);
    m_videoSource
        = button("videoSource", tr("Video &Source..."), &VideoCaptureDialog::chooseSource);
    m_videoDisplay = button("videoDisplay", tr("Video &Display..."), nullptr);
    m_compression = button("compression", tr("Co&mpression..."), nullptr);
    m_capture = button("capture", tr("&Capture"), &VideoCaptureDialog::startCapture);
    m_playClip = button("playClip", tr("&Play Clip"), &VideoCaptureDialog::playClip);
    m_saveClip = button("saveClip", tr("Save C&lip..."), &VideoCaptureDialog::saveClip);
    m_grabStill = button("grabStill", tr("&Grab Still"), &VideoCaptureDialog::grabStill);
    m_saveStill = button("saveStill", tr("Save S&till..."), &VideoCaptureDialog::saveStill);
    m_stillToPicture = button(
        "stillToPicture", tr("Still to &New Picture"), &VideoCaptureDialog::stillToNewPicture);
    m_audioFormat
        = button("audioFormat", tr("&Audio Format..."), &VideoCaptureDialog::chooseAudioFormat);
    // The display settings belong to overlay hardware, and the clips are always Motion-JPEG with
    // PCM sound: no driver here has those dialogs.
    m_videoDisplay->setEnabled(false);
    m_compression->setEnabled(false);
    m_framesPerSecond = new QSpinBox(this);
    m_framesPerSecond->setObjectName(QStringLiteral("framesPerSecond"));
    m_framesPerSecond->setRange(1, 120);
    m_videoBuffers = new QSpinBox(this);
    m_videoBuffers->setObjectName(QStringLiteral("videoBuffers"));
    m_videoBuffers->setRange(1, 32);
    m_captureAudio = new QCheckBox(tr("Capture a&udio"), this);
    m_captureAudio->setObjectName(QStringLiteral("captureAudio"));
    m_audioText = new QLabel(this);
    m_audioText->setObjectName(QStringLiteral("audioText"));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));

    auto *settings = new QFormLayout;
    settings->addRow(tr("Driver:"), m_driverList);
    settings->addRow(tr("Frames per second:"), m_framesPerSecond);
    settings->addRow(tr("Video buffers:"), m_videoBuffers);
    settings->addRow(m_captureAudio);
    settings->addRow(tr("Audio format:"), m_audioText);
    auto *buttons = new QGridLayout;
    const QList<QPushButton *> order { m_videoFormat, m_videoSource, m_videoDisplay, m_compression,
        m_audioFormat, m_capture, m_playClip, m_saveClip, m_grabStill, m_saveStill,
        m_stillToPicture };
    for (int i = 0; i < order.size(); ++i)
        buttons->addWidget(order[i], i / 2, i % 2);
    auto *side = new QVBoxLayout;
    side->addLayout(settings);
    side->addLayout(buttons);
    side->addStretch();
    auto *top = new QHBoxLayout;
    top->addWidget(m_preview, 1);
    top->addLayout(side);
    auto *close = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(close, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(m_status);
    layout->addWidget(close);

    for (const CaptureDriverEntry &entry : m_drivers.entries)
        m_driverList->addItem(entry.name);
    connect(m_driverList, &QComboBox::activated, this, &VideoCaptureDialog::connectDriver);
    if (!m_drivers.entries.isEmpty())
        connectDriver(0);
    updateButtons();
}

VideoCaptureDialog::~VideoCaptureDialog()
{
    delete m_session;
    freeStill();
}

void VideoCaptureDialog::freeStill()
{
    if (isBlockHandle(m_still))
        blockFree(m_still);
    m_still = 0;
}

void VideoCaptureDialog::connectDriver(int entry)
{
    if (m_session)
        m_session->disconnect(this);
    delete m_session;
    m_session = nullptr;
    m_connected = -1;
    m_preview->clear();
    if (entry < 0 || entry >= m_drivers.entries.size())
        return;
    std::unique_ptr<CaptureDriver> driver = m_drivers.make(m_drivers.entries[entry].index);
    QString error;
    if (!driver || !driver->connect(error)) {
        showFailure(error);
        updateButtons();
        return;
    }
    // The first driver gives its own setup; later ones get the setup kept from before.
    if (m_firstSetup)
        m_setup.microSecPerFrame = driver->microSecPerFrame();
    else
        driver->setMicroSecPerFrame(m_setup.microSecPerFrame);
    m_firstSetup = false;
    m_connected = m_drivers.entries[entry].index;
    m_driverList->setCurrentIndex(entry);
    m_session = new CaptureSession(std::move(driver), this);
    connect(m_session, &CaptureSession::frameReady, m_preview, &CapturePreview::showFrame);
    connect(m_session, &CaptureSession::failed, this, &VideoCaptureDialog::showFailure);
    connect(m_session, &CaptureSession::captureEnded, this, &VideoCaptureDialog::captureFinished);
    showSetup();
    m_session->start();
    updateButtons();
}

void VideoCaptureDialog::showSetup()
{
    m_framesPerSecond->setValue(framesPerSecondOf(m_setup.microSecPerFrame));
    m_captureAudio->setChecked(m_setup.captureAudio);
    m_videoBuffers->setValue(m_setup.videoBuffers);
    showAudioFormat();
}

void VideoCaptureDialog::showAudioFormat()
{
    const WaveFormat sound
        = m_session ? captureSoundFormat(m_session->driver(), m_setup.audioFormat) : WaveFormat();
    m_audioText->setText(sound.samplesPerSec > 0
            ? QStringLiteral("%1: %2").arg(formatTagName(sound.formatTag), formatDescription(sound))
            : tr("No sound input"));
}

void VideoCaptureDialog::chooseAudioFormat()
{
    if (!m_session)
        return;
    const CaptureDriver &driver = m_session->driver();
    SoundFormatDialog chooser(captureSoundCapabilities(driver).formats(),
        captureSoundFormat(driver, m_setup.audioFormat), this);
    if (chooser.exec() != QDialog::Accepted)
        return;
    setAudioFormat(chooser.chosen());
}

void VideoCaptureDialog::setAudioFormat(const WaveFormat &format)
{
    if (format.samplesPerSec == 0)
        return;
    m_setup.audioFormat = format;
    showAudioFormat();
}

void VideoCaptureDialog::updateButtons()
{
    const bool idle = m_session && !m_session->isCapturing();
    const CaptureCapabilities caps
        = m_session ? m_session->driver().capabilities() : CaptureCapabilities();
    m_videoFormat->setEnabled(idle && caps.hasFormatDialog);
    m_videoSource->setEnabled(idle && caps.hasSourceDialog);
    const bool sound
        = m_session && captureSoundSource(m_session->driver()) != CaptureSoundSource::None;
    m_captureAudio->setEnabled(idle && sound);
    m_audioFormat->setEnabled(idle && sound);
    m_driverList->setEnabled(!m_session || idle);
    m_capture->setEnabled(m_session != nullptr);
    m_capture->setText(m_session && m_session->isCapturing() ? tr("&End Capture") : tr("&Capture"));
    m_grabStill->setEnabled(m_session != nullptr);
    m_playClip->setEnabled(idle && m_hasClip);
    m_saveClip->setEnabled(idle && m_hasClip);
    m_saveStill->setEnabled(isBlockHandle(m_still));
    m_stillToPicture->setEnabled(isBlockHandle(m_still));
}

void VideoCaptureDialog::showFailure(const QString &error)
{
    if (!error.isEmpty())
        host().showText(error, MessageIcon::Warning, MessageButtons::Ok, 0);
    updateButtons();
}

void VideoCaptureDialog::chooseFormat()
{
    if (!m_session)
        return;
    CaptureDriver &driver = m_session->driver();
    QStringList sizes;
    for (const QSize &size : driver.frameSizes())
        sizes.append(fillIn(QStringLiteral("%1 x %2"), size.width(), size.height()));
    const QString current = fillIn(
        QStringLiteral("%1 x %2"), driver.frameSize().width(), driver.frameSize().height());
    bool ok = false;
    const QString chosen = QInputDialog::getItem(this, tr("Video Format"), tr("Frame size:"), sizes,
        qMax(0, sizes.indexOf(current)), false, &ok);
    if (!ok)
        return;
    const QStringList parts = chosen.split(QStringLiteral(" x "));
    m_session->stop();
    QString error;
    if (!driver.setFrameSize(QSize(parts.value(0).toInt(), parts.value(1).toInt()), error))
        showFailure(error);
    m_session->start();
}

void VideoCaptureDialog::chooseSource()
{
    if (!m_session)
        return;
    CaptureDriver &driver = m_session->driver();
    QDialog dialog(this);
    dialog.setWindowTitle(tr("Video Source"));
    auto *form = new QFormLayout(&dialog);
    for (const CaptureControl &control : driver.controls()) {
        auto *slider = new QSlider(Qt::Horizontal, &dialog);
        slider->setRange(control.minimum, control.maximum);
        slider->setSingleStep(control.step);
        slider->setValue(control.value);
        connect(slider, &QSlider::valueChanged, &dialog,
            [&driver, id = control.id](int value) { driver.setControl(id, value); });
        form->addRow(control.name, slider);
    }
    auto *close = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    connect(close, &QDialogButtonBox::rejected, &dialog, &QDialog::accept);
    form->addRow(close);
    dialog.exec();
}

void VideoCaptureDialog::startCapture()
{
    if (!m_session)
        return;
    if (m_session->isCapturing()) {
        endCapture();
        return;
    }
    delete m_player;
    m_player = nullptr;
    m_setup.microSecPerFrame = microSecPerFrameOf(m_framesPerSecond->value());
    m_setup.captureAudio = m_captureAudio->isChecked();
    m_setup.videoBuffers = m_videoBuffers->value();
    m_session->stop();
    m_session->driver().setMicroSecPerFrame(m_setup.microSecPerFrame);
    m_session->start();
    m_hasClip = false;
    QString error;
    // The capture file is this dialog's own (made when the dialog opened): another capture window
    // or program working in the video folder has its own too.
    if (m_capturePath.isEmpty())
        m_capturePath = createPrivateFile(
            m_videoFolder, QStringLiteral("capture"), QStringLiteral(".tmp"), &error);
    if (m_capturePath.isEmpty() || !m_session->startCapture(m_capturePath, m_setup, error)) {
        showFailure(error);
        return;
    }
    m_status->setText(tr("Capturing to %1").arg(m_capturePath)
        + loadString(Message::kCaptureRunning).replace(QStringLiteral("\\s"), QStringLiteral(" ")));
    updateButtons();
}

void VideoCaptureDialog::endCapture()
{
    if (m_session)
        m_session->endCapture();
}

void VideoCaptureDialog::captureFinished(const ClipStats &stats)
{
    m_status->clear();
    if (m_saveAsPath.isEmpty())
        m_saveAsPath
            = createPrivateFile(m_videoFolder, QStringLiteral("saveas"), QStringLiteral(".tmp"));
    QFile::remove(m_saveAsPath);
    m_hasClip = stats.framesWritten > 0 && !m_saveAsPath.isEmpty()
        && QFile::copy(m_capturePath, m_saveAsPath);
    updateButtons();
    if (m_hasClip && stats.ok)
        host().showMessage(Message::kClipCaptured, {}, MessageIcon::Information);
}

void VideoCaptureDialog::playClip()
{
    if (!m_hasClip)
        return;
    delete m_player;
    m_player = new ClipPlayerWindow(m_saveAsPath, loadString(Message::kCapturedClipTitle), this);
    m_player->move(m_preview->mapToGlobal(QPoint(0, 0)));
    m_player->show();
    connect(m_player, &QObject::destroyed, this, [this] { m_player = nullptr; });
}

void VideoCaptureDialog::saveClip()
{
    if (!m_hasClip)
        return;
    QString path = host().askSaveFileName({ tr("Save Clip"),
        m_videoFolder + QStringLiteral("/clip.avi"), tr("(VFW) *.avi (*.avi)") });
    if (path.isEmpty())
        return;
    path = finalSaveName(path, QStringLiteral("avi"));
    if (path.isEmpty())
        return;
    if (!replaceFile(m_saveAsPath, path)) {
        host().showText(tr("The clip could not be saved as %1.").arg(path), MessageIcon::Warning,
            MessageButtons::Ok, 0);
        return;
    }
    m_hasClip = false;
    m_saveAsPath.clear(); // the file is the saved clip now
    if (m_addToAlbum)
        m_addToAlbum(path);
    updateButtons();
}

void VideoCaptureDialog::grabStill()
{
    if (!m_session)
        return;
    const QImage frame = m_session->latestFrame();
    if (frame.isNull())
        return;
    freeStill();
    m_still = frameToImageBlock(frame);
    updateButtons();
}

void VideoCaptureDialog::saveStill()
{
    if (!isBlockHandle(m_still))
        return;
    QString path = host().askSaveFileName(
        { tr("Save Still"), m_photosFolder + QStringLiteral("/capture.bmp"),
            firstFilter(loadString(Message::kBitmapFilter)) });
    if (path.isEmpty())
        return;
    path = finalSaveName(path, QStringLiteral("bmp"));
    if (path.isEmpty())
        return;
    if (savePicture(m_still, path).status != DecodeStatus::Ok) {
        host().showMessage(Message::kStillNotSaved);
        return;
    }
    if (m_addToAlbum)
        m_addToAlbum(path);
}

void VideoCaptureDialog::stillToNewPicture()
{
    if (!isBlockHandle(m_still) || !m_openPicture)
        return;
    const std::size_t size = blockSize(m_still);
    const BlockHandle copy = blockAlloc(0, size);
    if (!isBlockHandle(copy))
        return;
    std::memcpy(blockLock(copy), blockLock(m_still), size);
    m_openPicture(copy);
}

void VideoCaptureDialog::keyPressEvent(QKeyEvent *event)
{
    // Escape ends a running capture (the status line says so) instead of closing the dialog.
    if (event->key() == Qt::Key_Escape && m_session && m_session->isCapturing()) {
        endCapture();
        return;
    }
    QDialog::keyPressEvent(event);
}

void VideoCaptureDialog::done(int result)
{
    delete m_player;
    m_player = nullptr;
    if (m_session)
        m_session->disconnect(this);
    delete m_session;
    m_session = nullptr;
    m_connected = -1;
    for (const QString &file : { m_capturePath, m_saveAsPath }) {
        if (!file.isEmpty())
            QFile::remove(file);
    }
    QDialog::done(result);
}

} // namespace glimmerix
