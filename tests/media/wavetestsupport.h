#pragma once

#include "media/waveformat.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

using namespace glimmerix;

// Builds RIFF bytes for tests: chunk(id, body) with its pad byte, riff(body) with a given or
// correct size field.
QByteArray chunk(const char *id, const QByteArray &body, qint64 sizeField = -1);
QByteArray riff(const QByteArray &chunks, qint64 sizeField = -1, const char *form = "WAVE");
QByteArray formatChunk(const WaveFormat &format, int blockSize = 16);

// Runs `program` with `arguments`; empty when it is missing or fails (the caller skips).
QString runTool(const QString &program, const QStringList &arguments);
