#pragma once

#include <QByteArray>
#include <QObject>

#include <array>
#include <cstdint>
#include <memory>

class QFile;
class QIODevice;

namespace glimmerix
{

class AudioOutput;

// Streams the sound data of a WAVE file (or of the recorder's temporary file) to the output device
// through two buffers of 512000 bytes, each cut to whole sample blocks. While one buffer plays the
// other is filled; each buffer the device hands back is refilled from the data until it runs out.
// At the end the player waits for the buffers still queued to play to their end, then closes the
// device and emits finished().
//
// Failures show their message through the host: no output device 50450, no buffer memory 50398,
// the device refuses the format 50451, a buffer cannot be written 50452, the headers cannot be
// prepared 50453.
class WavePlayer : public QObject
{
    Q_OBJECT
public:
    static constexpr std::int64_t kBufferCapacity = 512000;

    enum FeedResult { FeedError = 0, FeedNoMoreData = 1, FeedQueued = 2 };

    explicit WavePlayer(QObject *parent = nullptr);
    ~WavePlayer() override;

    // Takes a copy of the format block and plays `dataLength` bytes of `data` (not owned), which is
    // positioned at the start of the sound data. Makes the output device and the two buffers.
    bool prepare(const QByteArray &formatBlock, QIODevice *data, std::int64_t dataLength);
    bool open();
    bool prepareHeaders();
    // Fills the next buffer from the data and queues it; `position` counts the bytes queued.
    FeedResult feed(std::int64_t &position);
    void pause();
    void restart();
    // Pauses, drops what is queued, closes the device and emits finished() (once per open).
    void stop();

    // The whole start: prepare, open, prepareHeaders, then with the device paused two buffers are
    // queued and the device restarted. From then on the player feeds itself.
    bool start(const QByteArray &formatBlock, QIODevice *data, std::int64_t dataLength);
    // The same for the data of a file at `dataOffset`, opened and owned by the player.
    bool playFile(const QString &path, const QByteArray &formatBlock, std::int64_t dataOffset,
        std::int64_t dataLength);

    bool isPlaying() const { return m_open; }
    // Used length of each buffer: the capacity minus its rest after the block alignment.
    std::int64_t bufferLength() const { return m_bufferLength; }
    // Bytes queued so far, and bytes the device has played.
    std::int64_t position() const { return m_position; }
    std::int64_t bytesPlayed() const;
    // True when the last feed found no more data.
    bool reachedEnd() const { return m_reachedEnd; }

Q_SIGNALS:
    void finished();

private:
    void bufferDone();

    QByteArray m_formatBlock;
    QIODevice *m_data = nullptr;
    std::unique_ptr<QFile> m_ownedFile;
    std::int64_t m_dataLength = 0;
    std::int64_t m_bufferLength = 0;
    std::array<std::unique_ptr<char[]>, 2> m_buffers;
    std::unique_ptr<AudioOutput> m_output;
    int m_next = 0;
    int m_queued = 0; // buffers handed to the device and not yet back
    std::int64_t m_position = 0;
    bool m_prepared = false;
    bool m_open = false;
    bool m_reachedEnd = false;
};

} // namespace glimmerix
