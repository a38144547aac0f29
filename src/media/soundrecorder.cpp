#include "soundrecorder.h"

#include "core/messageids.h"
#include "core/savenames.h"
#include "platform/fillin.h"
#include "wavelayout.h"
#include "waveplayer.h"
#include "wavewriter.h"

#include "platform/host.h"
#include "platform/strings.h"
#include "platform/uniquefiles.h"

#include <QFileInfo>

#include <algorithm>

namespace glimmerix
{

namespace
{

// The format every recording starts with: PCM, 11025 Hz, 8 bits, mono.
const WaveFormat kDefaultFormat = WaveFormat::pcm(11025, 8, 1);

} // namespace

QString formatDescription(const WaveFormat &format)
{
    const QString channels = format.channels == 1 ? QStringLiteral("Mono")
        : format.channels == 2                    ? QStringLiteral("Stereo")
                               : QStringLiteral("%1 channels").arg(format.channels);
    return fillIn(
        QStringLiteral("%1 Hz, %2 Bit, %3"), format.samplesPerSec, format.bitsPerSample, channels);
}

SoundRecorder::SoundRecorder(const QString &audioFolder, QObject *parent)
    : QObject(parent)
    , m_audioFolder(audioFolder)
    , m_player(std::make_unique<WavePlayer>())
{
    m_timer.setInterval(kTimerPeriodMs);
    connect(&m_timer, &QTimer::timeout, this, &SoundRecorder::changed);
    connect(m_player.get(), &WavePlayer::finished, this, &SoundRecorder::playbackFinished);
}

SoundRecorder::~SoundRecorder()
{
    m_player->blockSignals(true);
    m_player->stop();
    if (m_input) {
        m_input->blockSignals(true);
        m_input->stop();
        m_input->close();
    }
}

bool SoundRecorder::setUp()
{
    const bool haveInput = audioBackend().hasInputDevice();
    // Without a device the recorder still offers the default format (recording then reports the
    // device); with one it offers what the device can do, and nothing at all is a set-up failure.
    m_capabilities = haveInput
        ? audioBackend().inputCapabilities()
        : AudioCapabilities { { kDefaultFormat.samplesPerSec }, { kDefaultFormat.bitsPerSample },
              { kDefaultFormat.channels } };
    const QList<WaveFormat> offered = m_capabilities.formats();
    if (offered.isEmpty()) {
        host().showMessage(Message::kNoFormat);
        return false;
    }
    // Every block has the size of the largest format offered, so any of them fits in it.
    m_maximumFormatSize = WaveLayout::kFormatSize;
    for (const WaveFormat &format : offered)
        m_maximumFormatSize
            = std::max(m_maximumFormatSize, WaveLayout::kFormatSize + format.extraSize);
    m_formatBlock = kDefaultFormat.toBlock(m_maximumFormatSize);
    if (!haveInput)
        host().showMessage(Message::kNoInputDevice);
    for (QByteArray &buffer : m_captureBuffers) {
        buffer.reserve(kCaptureCapacity);
        if (buffer.capacity() < kCaptureCapacity) {
            host().showMessage(Message::kNoBufferMemory);
            return false;
        }
    }
    m_usable = true;
    setState(State::Idle);
    return true;
}

void SoundRecorder::setAlbumTarget(std::function<bool(const QString &)> addToAlbum)
{
    m_addToAlbum = std::move(addToAlbum);
}

QString SoundRecorder::formatText() const
{
    const WaveFormat current = format();
    return QStringLiteral("%1: %2").arg(
        formatTagName(current.formatTag), formatDescription(current));
}

bool SoundRecorder::chooseFormat(const WaveFormat &picked)
{
    const QByteArray block = picked.toBlock(m_maximumFormatSize);
    if (sameFormatBlock(block, m_formatBlock) || !m_capabilities.allows(picked))
        return false;
    m_formatBlock = block;
    Q_EMIT changed();
    return true;
}

std::int64_t SoundRecorder::captureBufferLength() const
{
    return alignedBufferLength(kCaptureCapacity, format().blockAlign);
}

bool SoundRecorder::record()
{
    if (!m_usable || m_state != State::Idle)
        return false;
    m_nextBuffer = 0;
    m_totalBytes = 0;
    for (QByteArray &buffer : m_captureBuffers)
        buffer.clear();
    m_input = audioBackend().hasInputDevice() ? audioBackend().createInput() : nullptr;
    if (!m_input || !m_input->open(format())) {
        m_input.reset();
        host().showMessage(Message::kInputRefusesFormat);
        return false;
    }
    connect(m_input.get(), &AudioInput::captured, this, &SoundRecorder::captured);
    m_temporaryFile.close();
    // The recording goes to a file of this recorder's own, so that two recorders (two windows,
    // two programs) in one audio folder never write into each other's.
    QString error;
    if (m_temporaryPath.isEmpty())
        m_temporaryPath = createPrivateFile(
            m_audioFolder, QStringLiteral("audio"), QStringLiteral(".tmp"), &error);
    m_temporaryFile.setFileName(m_temporaryPath);
    if (m_temporaryPath.isEmpty()
        || !m_temporaryFile.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        if (error.isEmpty())
            error = QStringLiteral("%1: %2").arg(m_temporaryPath, m_temporaryFile.errorString());
        host().showText(error, MessageIcon::Warning, MessageButtons::Ok, 0);
        m_input->close();
        m_input.reset();
        return false;
    }
    m_recordingFormat = m_formatBlock;
    m_haveRecording = false;
    m_recordedLength = 0;
    if (!m_input->start()) {
        failRecording(QString());
        host().showMessage(Message::kInputRefusesFormat);
        return false;
    }
    m_unsaved = true;
    setState(State::Recording);
    m_timer.start();
    return true;
}

void SoundRecorder::captured(const QByteArray &bytes)
{
    if (m_state != State::Recording)
        return;
    const std::int64_t used = captureBufferLength();
    qsizetype offset = 0;
    while (offset < bytes.size()) {
        QByteArray &buffer = m_captureBuffers[m_nextBuffer];
        const qsizetype take = std::min<qsizetype>(used - buffer.size(), bytes.size() - offset);
        buffer.append(bytes.constData() + offset, take);
        offset += take;
        // A full buffer goes to the file and the other one takes the next bytes.
        if (buffer.size() >= used && !writeCaptureBuffer())
            return;
    }
}

bool SoundRecorder::writeCaptureBuffer()
{
    QByteArray &buffer = m_captureBuffers[m_nextBuffer];
    if (buffer.isEmpty())
        return true;
    if (m_temporaryFile.write(buffer) != buffer.size()) {
        failRecording(m_temporaryFile.errorString());
        return false;
    }
    m_totalBytes += buffer.size();
    buffer.clear();
    m_nextBuffer = 1 - m_nextBuffer;
    return true;
}

void SoundRecorder::failRecording(const QString &reason)
{
    // What reached the file so far stays there and can be played and saved.
    m_timer.stop();
    if (m_input) {
        m_input->blockSignals(true);
        m_input->stop();
        m_input->close();
        m_input.reset();
    }
    if (!reason.isEmpty()) {
        host().showText(QStringLiteral("%1: %2").arg(m_temporaryPath, reason), MessageIcon::Warning,
            MessageButtons::Ok, 0);
    }
    finishRecording();
}

void SoundRecorder::finishRecording()
{
    m_temporaryFile.flush();
    m_temporaryFile.close();
    m_recordedLength = m_totalBytes;
    m_haveRecording = true;
    setState(State::Idle);
}

void SoundRecorder::stop()
{
    if (m_state == State::Playing) {
        m_player->stop();
        return;
    }
    if (m_state != State::Recording)
        return;
    m_timer.stop();
    // Stopping hands back what the device still holds; then the partly filled buffer is written.
    m_input->stop();
    if (m_state != State::Recording)
        return; // a write failed meanwhile and finished the recording
    for (int i = 0; i < 2; ++i) {
        if (!writeCaptureBuffer())
            return;
    }
    m_input->close();
    m_input.reset();
    finishRecording();
}

bool SoundRecorder::play()
{
    if (m_state != State::Idle || !m_haveRecording || m_recordedLength == 0)
        return false;
    m_temporaryFile.close();
    m_temporaryFile.setFileName(m_temporaryPath);
    if (!m_temporaryFile.open(QIODevice::ReadOnly)) {
        host().showText(
            QStringLiteral("%1: %2").arg(m_temporaryPath, m_temporaryFile.errorString()),
            MessageIcon::Warning, MessageButtons::Ok, 0);
        return false;
    }
    setState(State::Playing);
    m_timer.start();
    if (!m_player->start(m_recordingFormat, &m_temporaryFile, m_recordedLength)) {
        m_player->stop();
        playbackFinished();
        return false;
    }
    return true;
}

void SoundRecorder::playbackFinished()
{
    if (m_state != State::Playing)
        return;
    m_timer.stop();
    m_temporaryFile.close();
    setState(State::Idle);
}

bool SoundRecorder::save(const QString &path)
{
    if (!m_haveRecording || m_recordedLength == 0) {
        host().showMessage(Message::kNothingToSave);
        return false;
    }
    QFile recording(m_temporaryPath);
    QString error;
    bool written = false;
    {
        const WaitCursor wait;
        written = recording.open(QIODevice::ReadOnly)
            && writeWaveFile(path, m_recordingFormat, recording, m_recordedLength, &error);
    }
    recording.close();
    if (!written) {
        host().showMessage(Message::kSaveFailed);
        return false;
    }
    if (m_addToAlbum)
        m_itemAdded = m_addToAlbum(path) || m_itemAdded;
    removeTemporaryFile();
    m_haveRecording = false;
    m_unsaved = false;
    Q_EMIT changed();
    if (m_addToAlbum)
        Q_EMIT closeRequested();
    return true;
}

bool SoundRecorder::saveAs()
{
    if (!m_haveRecording || m_recordedLength == 0) {
        host().showMessage(Message::kNothingToSave);
        return false;
    }
    QString path
        = host().askSaveFileName({ QString(), m_audioFolder + u'/', QStringLiteral("*.wav") });
    if (path.isEmpty())
        return false;
    path = finalSaveName(path, QStringLiteral("wav"));
    return !path.isEmpty() && save(path);
}

bool SoundRecorder::close()
{
    stop();
    if (m_unsaved && m_haveRecording) {
        const MessageAnswer answer = host().showMessage(
            Message::kUnsavedQuestion, {}, MessageIcon::Question, MessageButtons::OkCancel);
        if (answer == MessageAnswer::Ok && !saveAs())
            return false;
    }
    m_temporaryFile.close();
    removeTemporaryFile();
    m_haveRecording = false;
    m_unsaved = false;
    return true;
}

void SoundRecorder::removeTemporaryFile()
{
    if (!m_temporaryPath.isEmpty())
        QFile::remove(m_temporaryPath);
    m_temporaryPath.clear();
}

SoundRecorder::Buttons SoundRecorder::buttons() const
{
    Buttons buttons;
    if (!m_usable)
        return buttons;
    if (m_state != State::Idle) {
        buttons.stop = true;
        return buttons;
    }
    buttons.record = true;
    buttons.format = true;
    buttons.play = m_haveRecording && m_recordedLength > 0;
    buttons.save = m_haveRecording && m_unsaved;
    return buttons;
}

std::int64_t SoundRecorder::capturedBytes() const
{
    return m_input ? m_input->bytesCaptured() : m_totalBytes;
}

QString SoundRecorder::statusText() const
{
    int id = Message::kStoppedStatus;
    std::int64_t bytes = m_recordedLength;
    WaveFormat shown = WaveFormat::fromBlock(m_haveRecording ? m_recordingFormat : m_formatBlock);
    switch (m_state) {
    case State::Recording:
        id = Message::kRecordingStatus;
        bytes = capturedBytes();
        break;
    case State::Playing:
        id = Message::kPlayingStatus;
        bytes = m_player->bytesPlayed();
        break;
    case State::Idle:
        break;
    }
    return formatString(
        id, { QString::number(bytes), QString::number(shown.seconds(bytes), 'f', 6) });
}

void SoundRecorder::setState(State state)
{
    m_state = state;
    Q_EMIT changed();
}

} // namespace glimmerix
