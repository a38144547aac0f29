#pragma once

class QAudioDevice;
class QAudioOutput;
class QMediaPlayer;

namespace glimmerix
{

// Every sound the program plays through Qt Multimedia goes to the device this returns: the
// default output, or a null device when the machine has no sound output at all.
QAudioDevice soundOutputDevice();

// Gives `player` an audio output on that device and returns it; with no device it gives none and
// returns nullptr, so the player shows its pictures and stays silent. (Qt Multimedia's FFmpeg
// backend crashes in its audio thread on a clip with sound when the audio output it was given has
// no device behind it.)
QAudioOutput *attachSoundOutput(QMediaPlayer *player);

} // namespace glimmerix
