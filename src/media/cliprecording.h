#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

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
// Frames are encoded on a thread of their own behind a queue of a few frames (the video
// buffers), so that a slow moment of the encoder does not hold up the device.
class ClipRecording
{
public:
    ClipRecording() = default;
    ~ClipRecording();
    ClipRecording(const ClipRecording &) = delete;
    ClipRecording &operator=(const ClipRecording &) = delete;

    // Creates `path`; `audioRate` 0 for a clip without sound. False with stats().detail set.
    bool open(const QString &path, const QSize &size, qint64 microSecPerFrame, int audioRate,
        int queuedFrames = 4);
    bool isOpen() const { return m_writer != nullptr; }
    // Adds a frame that arrived `elapsedMicroSec` after the first; false once writing failed.
    bool addFrame(const QImage &frame, qint64 elapsedMicroSec);
    // Adds 16-bit mono samples.
    bool addAudio(const QByteArray &samples);
    // Waits for the queue, finishes the file; the stats of the whole clip.
    ClipStats finish();
    ClipStats stats() const;

private:
    struct Piece {
        QImage frame; // null for sound
        qint64 number = 0;
        QByteArray samples;
    };
    bool queue(Piece piece, bool mayDrop);
    void writeQueued();
    bool checkWriter();

    GlimmerixClipWriter *m_writer = nullptr;
    QString m_path;
    QSize m_size;
    qint64 m_interval = 0;
    std::size_t m_queueLimit = 4;
    ClipStats m_stats;
    std::atomic<qint64> m_written { 0 };
    std::atomic<bool> m_failed { false };
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Piece> m_queue;
    bool m_closing = false;
    std::thread m_thread;
};

// The clip module's writer is available (FFmpeg could be loaded).
bool clipWriterAvailable();

} // namespace glimmerix
