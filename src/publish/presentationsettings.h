#pragma once

#include <QString>

#include <chrono>

namespace glimmerix
{

// How a presentation sounds: one music file under the whole show, each picture's own attached
// sound, or silence.
enum class SoundMode { Music = 0, PictureSounds = 1, Silent = 2 };

// The presentation's settings, kept while the program runs.
struct PresentationSettings {
    std::chrono::milliseconds effectTime { 100 }; // one whole transition
    bool transitions = true; // a random transition effect for every slide
    bool loop = true; // start again after the last slide
    int secondsPerSlide = 5;
    SoundMode soundMode = SoundMode::Silent;
    QString musicFile;
    double soundSeconds = 0; // the music's length, or the pictures' sounds summed
};

// The slide time that spreads `musicSeconds` of music over `slides` slides, rounded to the
// nearest second (at least 1).
int secondsPerSlideForMusic(double musicSeconds, int slides);

} // namespace glimmerix
