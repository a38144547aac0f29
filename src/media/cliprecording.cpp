#include "cliprecording.h"

#include "clipmodule.h"
#include "clipmoduleloader.h"

#include <QFile>

#include <cmath>

namespace glimmerix
{

namespace
{

const GlimmerixClipWriterApi *writerApi()
{
    const auto entry
        = reinterpret_cast<GlimmerixClipWriterEntry>(clipModuleSymbol(kClipWriterEntryName));
    return entry ? entry() : nullptr;
}

} // namespace

ClipRecording::~ClipRecording()
{
    finish();
}

bool ClipRecording::open(const QString &path, const QSize &size, qint64 microSecPerFrame,
    const WaveFormat &sound, int queuedFrames)
{
    finish();
    m_stats = {};
    m_written = 0;
    m_failed = false;
    m_closing = false;
    m_path = path;
    m_size = size;
    m_interval = microSecPerFrame;
    const bool withSound = sound.samplesPerSec > 0;
    m_sound = withSound ? WaveFormat::pcm(sound.samplesPerSec, sound.bitsPerSample, sound.channels)
                        : WaveFormat();
    m_waitingSound.clear();
    m_soundBlocksQueued = 0;
    m_queueLimit = std::size_t(qBound(1, queuedFrames, 64));
    const GlimmerixClipWriterApi *api = writerApi();
    if (!api) {
        m_stats.ok = false;
        m_stats.detail = QStringLiteral("The video library (FFmpeg) could not be loaded.");
        return false;
    }
    int result = GlimmerixWriteCannotCreate;
    m_writer = api->open(QFile::encodeName(path).constData(), size.width(), size.height(),
        microSecPerFrame, int(m_sound.samplesPerSec), m_sound.channels, m_sound.bitsPerSample,
        &result);
    if (!m_writer) {
        m_stats.ok = false;
        m_stats.detail = QStringLiteral("The clip %1 could not be created.").arg(path);
        return false;
    }
    m_thread = std::thread([this] { writeQueued(); });
    return true;
}

bool ClipRecording::checkWriter()
{
    if (m_failed && m_stats.ok) {
        m_stats.ok = false;
        m_stats.detail = QStringLiteral("Writing the clip %1 failed (is the disk full?). The "
                                        "frames captured before are kept.")
                             .arg(m_path);
    }
    return m_writer && m_stats.ok;
}

bool ClipRecording::queue(Piece piece, bool mayDrop)
{
    {
        std::lock_guard lock(m_mutex);
        if (mayDrop && m_queue.size() >= m_queueLimit)
            return false;
        m_queue.push_back(std::move(piece));
    }
    m_wake.notify_one();
    return true;
}

void ClipRecording::writeQueued()
{
    const GlimmerixClipWriterApi *api = writerApi();
    for (;;) {
        Piece piece;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_closing || !m_queue.empty(); });
            if (m_queue.empty())
                return;
            piece = std::move(m_queue.front());
            m_queue.pop_front();
        }
        if (m_failed)
            continue; // after a failure the rest is dropped, the file is closed as it is
        int result = GlimmerixWriteOk;
        if (!piece.frame.isNull()) {
            result = api->writeVideo(
                m_writer, piece.frame.constBits(), int(piece.frame.bytesPerLine()), piece.number);
            if (result == GlimmerixWriteOk)
                ++m_written;
        } else {
            result = api->writeAudio(m_writer,
                reinterpret_cast<const unsigned char *>(piece.samples.constData()),
                int(piece.samples.size() / m_sound.blockAlign));
        }
        if (result != GlimmerixWriteOk)
            m_failed = true;
    }
}

bool ClipRecording::addFrame(const QImage &frame, qint64 elapsedMicroSec)
{
    if (!checkWriter())
        return false;
    const qint64 number = std::llround(double(elapsedMicroSec) / double(m_interval));
    if (number <= m_stats.lastNumber)
        return true; // a second frame within one frame time: the clip keeps one
    if (frame.size() != m_size)
        return true; // a frame of another size cannot join this clip
    const QImage rgb = frame.format() == QImage::Format_RGB888
        ? frame
        : frame.convertToFormat(QImage::Format_RGB888);
    // With the queue full the frame is dropped; the clip holds the previous one for its time.
    if (queue({ rgb, number, {} }, true)) {
        m_stats.framesDropped += number - m_stats.lastNumber - 1;
        m_stats.lastNumber = number;
        releaseSound(number + 1, false);
    }
    return true;
}

bool ClipRecording::addAudio(const QByteArray &samples)
{
    if (!checkWriter())
        return false;
    if (m_sound.blockAlign == 0)
        return true;
    m_waitingSound += samples;
    releaseSound(m_stats.lastNumber + 1, false);
    return true;
}

void ClipRecording::releaseSound(qint64 frames, bool pad)
{
    if (m_sound.blockAlign == 0)
        return;
    // Sample blocks the frames cover, counted from the start so that rounding never adds up.
    const qint64 covered = frames * m_interval;
    const qint64 rate = m_sound.samplesPerSec;
    const qint64 due = covered / 1000000 * rate + covered % 1000000 * rate / 1000000;
    const qint64 wanted = due - m_soundBlocksQueued;
    if (wanted <= 0)
        return;
    const qint64 available = m_waitingSound.size() / m_sound.blockAlign;
    const qint64 blocks = pad ? wanted : qMin(wanted, available);
    if (blocks <= 0)
        return;
    const qsizetype bytes = qsizetype(blocks * m_sound.blockAlign);
    QByteArray piece = m_waitingSound.left(bytes);
    m_waitingSound.remove(0, piece.size());
    if (piece.size() < bytes) {
        // 8-bit PCM is unsigned: its silence is the middle value.
        piece.append(bytes - piece.size(), m_sound.bitsPerSample == 8 ? char(0x80) : char(0));
    }
    m_soundBlocksQueued += blocks;
    queue({ QImage(), 0, std::move(piece) }, false);
}

ClipStats ClipRecording::stats() const
{
    ClipStats out = m_stats;
    out.framesWritten = m_written;
    return out;
}

ClipStats ClipRecording::finish()
{
    if (m_writer && checkWriter())
        releaseSound(m_stats.lastNumber + 1, true);
    m_waitingSound.clear();
    if (m_thread.joinable()) {
        {
            std::lock_guard lock(m_mutex);
            m_closing = true;
        }
        m_wake.notify_one();
        m_thread.join();
    }
    if (m_writer) {
        if (writerApi()->close(m_writer) != GlimmerixWriteOk)
            m_failed = true;
        m_writer = nullptr;
    }
    checkWriter();
    m_queue.clear();
    return stats();
}

} // namespace glimmerix
