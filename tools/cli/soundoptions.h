#pragma once

#include "media/waveformat.h"

#include <QHash>
#include <QString>

// The PCM format of the options --rate, --bits and --channels (each optional: `format` gives
// what is not named). False with `problem` set when one is not a number or out of range.
bool readPcmOptions(
    const QHash<QString, QString> &values, glimmerix::WaveFormat &format, QString &problem);
