#include "audiodevice.h"

namespace glimmerix
{

namespace
{

class NoAudioBackend final : public AudioBackend
{
public:
    bool hasOutputDevice() override { return false; }
    bool hasInputDevice() override { return false; }
    AudioCapabilities inputCapabilities() override { return {}; }
    std::unique_ptr<AudioOutput> createOutput() override { return nullptr; }
    std::unique_ptr<AudioInput> createInput() override { return nullptr; }
};

NoAudioBackend g_noBackend;
AudioBackend *g_backend = &g_noBackend;

} // namespace

bool AudioCapabilities::allows(const WaveFormat &format) const
{
    return format.isPcm() && rates.contains(format.samplesPerSec)
        && bits.contains(format.bitsPerSample) && channels.contains(format.channels);
}

QList<WaveFormat> AudioCapabilities::formats() const
{
    QList<WaveFormat> list;
    for (std::uint32_t rate : rates) {
        for (std::uint16_t bitCount : bits) {
            for (std::uint16_t channelCount : channels)
                list.append(WaveFormat::pcm(rate, bitCount, channelCount));
        }
    }
    return list;
}

AudioBackend &audioBackend()
{
    return *g_backend;
}

AudioBackend *setAudioBackend(AudioBackend *backend)
{
    AudioBackend *previous = g_backend == &g_noBackend ? nullptr : g_backend;
    g_backend = backend ? backend : &g_noBackend;
    return previous;
}

} // namespace glimmerix
