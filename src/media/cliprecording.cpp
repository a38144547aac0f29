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

bool clipWriterAvailable()
{
    return writerApi() != nullptr;
}

ClipRecording::~ClipRecording()
{
    finish();
}

bool ClipRecording::open(
    const QString &path, const QSize &size, qint64 microSecPerFrame, int audioRate)
{
    finish();
    m_stats = {};
    m_path = path;
    m_size = size;
    m_interval = microSecPerFrame;
    const GlimmerixClipWriterApi *api = writerApi();
    if (!api) {
        m_stats.ok = false;
        m_stats.detail = QStringLiteral("The video library (FFmpeg) could not be loaded.");
        return false;
    }
    int result = GlimmerixWriteCannotCreate;
    m_writer = api->open(QFile::encodeName(path).constData(), size.width(), size.height(),
        microSecPerFrame, audioRate, &result);
    if (!m_writer) {
        m_stats.ok = false;
        m_stats.detail = QStringLiteral("The clip %1 could not be created.").arg(path);
    }
    return m_writer != nullptr;
}

void ClipRecording::fail()
{
    m_stats.ok = false;
    if (m_stats.detail.isEmpty())
        m_stats.detail = QStringLiteral("Writing the clip %1 failed (is the disk full?). The "
                                        "frames captured before are kept.")
                             .arg(m_path);
}

bool ClipRecording::addFrame(const QImage &frame, qint64 elapsedMicroSec)
{
    if (!m_writer || !m_stats.ok)
        return false;
    const qint64 number = std::llround(double(elapsedMicroSec) / double(m_interval));
    if (number <= m_stats.lastNumber)
        return true; // a second frame within one frame time: the clip keeps one
    if (frame.size() != m_size)
        return true; // a frame of another size cannot join this clip
    const QImage rgb = frame.format() == QImage::Format_RGB888
        ? frame
        : frame.convertToFormat(QImage::Format_RGB888);
    if (writerApi()->writeVideo(m_writer, rgb.constBits(), int(rgb.bytesPerLine()), number)
        != GlimmerixWriteOk) {
        fail();
        return false;
    }
    m_stats.framesDropped += number - m_stats.lastNumber - 1;
    m_stats.lastNumber = number;
    ++m_stats.framesWritten;
    return true;
}

bool ClipRecording::addAudio(const QByteArray &samples)
{
    if (!m_writer || !m_stats.ok)
        return false;
    if (writerApi()->writeAudio(
            m_writer, reinterpret_cast<const short *>(samples.constData()), int(samples.size() / 2))
        != GlimmerixWriteOk) {
        fail();
        return false;
    }
    return true;
}

ClipStats ClipRecording::finish()
{
    if (m_writer) {
        if (writerApi()->close(m_writer) != GlimmerixWriteOk)
            fail();
        m_writer = nullptr;
    }
    return m_stats;
}

} // namespace glimmerix
