#pragma once

#include "media/audiodevice.h"

#include <deque>

using namespace glimmerix;

// A sound card for tests: the output keeps queued buffers until the test plays them, the input
// captures what the test hands it. Installs itself as the audio backend while it lives.
class FakeAudioBackend final : public AudioBackend
{
public:
    FakeAudioBackend();
    ~FakeAudioBackend() override;

    bool hasOutputDevice() override { return output; }
    bool hasInputDevice() override { return input; }
    AudioCapabilities inputCapabilities() override { return capabilities; }
    std::unique_ptr<AudioOutput> createOutput() override;
    std::unique_ptr<AudioInput> createInput() override;

    // Plays the oldest queued buffer to its end; false when none is queued.
    bool playOne();
    // Plays buffers until none is queued (or the output closed).
    void playAll();
    // The input captures `bytes` (the test's stand-in for sound arriving).
    void capture(const QByteArray &bytes);

    bool output = true;
    bool input = true;
    bool refuseOpen = false;
    bool refuseWrite = false;
    AudioCapabilities capabilities { { 8000, 11025, 22050, 44100 }, { 8, 16 }, { 1, 2 } };
    QByteArray captureOnStop; // what the input still holds when stopped
    // Once started, the input delivers sound by itself as a sound card does: every few
    // milliseconds the bytes of the time passed, counting up (the low byte of the byte's number).
    bool liveInput = false;

    // What happened on the output: every byte played, each buffer's size as queued, bytes
    // dropped by a reset while still queued, and whether the output is open.
    QByteArray played;
    QList<qint64> queuedSizes;
    qint64 droppedBytes = 0;
    bool outputOpen = false;
    std::deque<QByteArray> queue;
    WaveFormat openedFormat;

private:
    class Output;
    class Input;
    Output *m_output = nullptr;
    Input *m_input = nullptr;
    AudioBackend *m_previous = nullptr;
};
