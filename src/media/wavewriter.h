#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

class QIODevice;

namespace glimmerix
{

struct WaveFormat;

// The sample count of the "fact" chunk: bytes / average bytes per second * samples per second,
// computed in floating point and truncated (0 when the format gives no byte rate).
std::uint32_t factSampleCount(const WaveFormat &format, std::int64_t dataBytes);

// Writes a RIFF WAVE file at `path`: a "fmt " chunk holding the whole `formatBlock` (so it may be
// longer than the format needs), a "fact" chunk with the sample count, and a "data" chunk with
// `dataBytes` bytes copied from `data` in pieces of 32000 bytes, followed by a pad byte when the
// count is odd. The file appears only when everything was written (an existing file is replaced
// then, never left half written). Returns false with a reason in `error` when the file cannot be
// created or written, when `data` ends early, or when the result would pass the 4 GB a RIFF size
// field can hold.
bool writeWaveFile(const QString &path, const QByteArray &formatBlock, QIODevice &data,
    std::int64_t dataBytes, QString *error = nullptr);

} // namespace glimmerix
