#pragma once

#include "waveformat.h"

#include <QByteArray>
#include <QList>
#include <QObject>

#include <memory>

namespace glimmerix
{

// The sound card as the player and the recorder see it. The real devices are Qt Multimedia's
// (qtaudiobackend.h); tests install a fake. Signals arrive on the thread that owns the device, in
// the order the buffers were queued.

class AudioOutput : public QObject
{
    Q_OBJECT
public:
    // Opens the device for `format`; false when it cannot play that format.
    virtual bool open(const WaveFormat &format) = 0;
    // Queues `buffer` behind those already queued; false when the device refuses it.
    virtual bool write(const QByteArray &buffer) = 0;
    virtual void pause() = 0;
    virtual void restart() = 0;
    // Drops every queued buffer that has not been played yet (no bufferDone for them).
    virtual void reset() = 0;
    virtual void close() = 0;
    // Bytes played since open.
    virtual qint64 bytesPlayed() const = 0;

Q_SIGNALS:
    // The oldest queued buffer has been played to its end.
    void bufferDone();
};

class AudioInput : public QObject
{
    Q_OBJECT
public:
    // Opens the device for `format`; false when it cannot record in that format.
    virtual bool open(const WaveFormat &format) = 0;
    virtual bool start() = 0;
    // Stops capturing. Everything captured so far has been delivered through captured() by the
    // time this returns.
    virtual void stop() = 0;
    virtual void close() = 0;
    // Bytes captured since start.
    virtual qint64 bytesCaptured() const = 0;

Q_SIGNALS:
    void captured(const QByteArray &bytes);
};

// What an input device can record in: PCM at these rates, sample sizes and channel counts.
struct AudioCapabilities {
    QList<std::uint32_t> rates;
    QList<std::uint16_t> bits;
    QList<std::uint16_t> channels;

    bool allows(const WaveFormat &format) const;
    // Every PCM format of the lists, slowest rate, fewest bits and channels first.
    QList<WaveFormat> formats() const;
};

class AudioBackend
{
public:
    virtual ~AudioBackend() = default;
    virtual bool hasOutputDevice() = 0;
    virtual bool hasInputDevice() = 0;
    virtual AudioCapabilities inputCapabilities() = 0;
    virtual std::unique_ptr<AudioOutput> createOutput() = 0;
    virtual std::unique_ptr<AudioInput> createInput() = 0;
};

// The backend in force. Until one is installed, a backend without devices answers.
AudioBackend &audioBackend();
// Installs `backend` (not owned) and returns the previous one; nullptr restores the empty one.
AudioBackend *setAudioBackend(AudioBackend *backend);

} // namespace glimmerix
