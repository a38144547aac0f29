#pragma once

#include "audiodevice.h"

namespace glimmerix
{

// The real sound devices through Qt Multimedia: the default output device (QAudioSink) and the
// default input device (QAudioSource), PCM 8 and 16 bits. Other formats (IMA ADPCM, ...) need a
// decoder and are refused by open().
class QtAudioBackend final : public AudioBackend
{
public:
    bool hasOutputDevice() override;
    bool hasInputDevice() override;
    AudioCapabilities inputCapabilities() override;
    std::unique_ptr<AudioOutput> createOutput() override;
    std::unique_ptr<AudioInput> createInput() override;
};

} // namespace glimmerix
