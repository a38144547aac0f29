#include "playeroutput.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QMediaDevices>
#include <QMediaPlayer>

namespace glimmerix
{

QAudioDevice soundOutputDevice()
{
    if (QMediaDevices::audioOutputs().isEmpty())
        return {};
    return QMediaDevices::defaultAudioOutput();
}

QAudioOutput *attachSoundOutput(QMediaPlayer *player)
{
    const QAudioDevice device = soundOutputDevice();
    if (device.isNull())
        return nullptr;
    auto *output = new QAudioOutput(device, player);
    player->setAudioOutput(output);
    return output;
}

} // namespace glimmerix
