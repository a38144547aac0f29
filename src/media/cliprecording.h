#pragma once

#include "waveformat.h"

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

    // Creates `path` with a sound track in `sound` (8- or 16-bit PCM; a format without a sample
    // rate for a clip without sound). False with stats().detail set.
    bool open(const QString &path, const QSize &size, qint64 microSecPerFrame,
        const WaveFormat &sound, int queuedFrames = 4);
    bool isOpen() const { return m_writer != nullptr; }
    // Adds a frame that arrived `elapsedMicroSec` after the first; false once writing failed.
    bool addFrame(const QImage &frame, qint64 elapsedMicroSec);
    // Adds sound in the clip's format that follows the sound added before. The track is kept in
    // step with the frames: sound is written only as far as the frames so far reach, the rest
    // waits for the next frames.
    bool addAudio(const QByteArray &samples);
    // Waits for the queue, finishes the file; the stats of the whole clip. The sound track gets
    // exactly the length of the frames: silence where the sound fell short, and what the sound
    // had beyond the last frame left out.
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
    // Queues the waiting sound as far as `frames` frame times reach, padded with silence when
    // `pad` and it falls short.
    void releaseSound(qint64 frames, bool pad);

    GlimmerixClipWriter *m_writer = nullptr;
    QString m_path;
    QSize m_size;
    qint64 m_interval = 0;
    WaveFormat m_sound;
    QByteArray m_waitingSound;
    qint64 m_soundBlocksQueued = 0;
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

} // namespace glimmerix
