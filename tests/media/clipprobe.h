#pragma once

// Reading back a captured clip with FFmpeg's own tools, for the capture tests.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The clip's first video stream as ffprobe reads it (frames counted by decoding).
struct Probe {
    int width = 0;
    int height = 0;
    QString rate;
    int frames = -1;
};

Probe probe(const QString &path);

// The clip's sound track: its format as ffprobe reads it, its raw samples, and the order of the
// packets in the file (true for sound).
struct SoundTrack {
    QString codec;
    int rate = 0;
    int channels = 0;
    QByteArray data;
    QList<bool> packetIsSound;
};

SoundTrack soundTrack(const QString &path);

// The longest run of video packets without sound between them.
int longestVideoRun(const QList<bool> &packetIsSound);
