#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

struct GlimmerixClipWriter;

namespace glimmerix
{

// What a capture wrote.
struct ClipStats {
    qint64 framesWritten = 0;
    qint64 framesDropped = 0; // frame times that passed without a frame
    qint64 lastNumber = -1;
    bool ok = true;
    QString detail; // why writing stopped, for the user; empty when it did not
};

// One AVI clip being written from a stream of frames, through the clip module. Each frame gets
// the number its arrival time calls for (elapsed time / frame interval, rounded), so a slow
// device leaves gaps that players fill by holding the frame, and the clip keeps real time.
class ClipRecording
{
public:
    ClipRecording() = default;
    ~ClipRecording();
    ClipRecording(const ClipRecording &) = delete;
    ClipRecording &operator=(const ClipRecording &) = delete;

    // Creates `path`; `audioRate` 0 for a clip without sound. False with stats().detail set.
    bool open(const QString &path, const QSize &size, qint64 microSecPerFrame, int audioRate);
    bool isOpen() const { return m_writer != nullptr; }
    // Adds a frame that arrived `elapsedMicroSec` after the first; false once writing failed.
    bool addFrame(const QImage &frame, qint64 elapsedMicroSec);
    // Adds 16-bit mono samples.
    bool addAudio(const QByteArray &samples);
    // Finishes the file; the stats of the whole clip.
    ClipStats finish();
    const ClipStats &stats() const { return m_stats; }

private:
    void fail();

    GlimmerixClipWriter *m_writer = nullptr;
    QString m_path;
    QSize m_size;
    qint64 m_interval = 0;
    ClipStats m_stats;
};

// The clip module's writer is available (FFmpeg could be loaded).
bool clipWriterAvailable();

} // namespace glimmerix
