// Fuzz target: the WAVE file reader, then the checks every caller relies on.

#include "media/wavefile.h"

#include <QBuffer>

#include <cstdlib>

using namespace glimmerix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    WaveFile wave;
    if (!wave.load(device)) {
        if (!wave.formatBlock().isEmpty() || wave.dataLength() != 0 || wave.errorDetail().isEmpty())
            std::abort();
        return 0;
    }
    // A file that loads has a usable format and data inside the file.
    const WaveFormat format = wave.format();
    if (format.channels == 0 || format.samplesPerSec == 0 || format.blockAlign == 0)
        std::abort();
    if (wave.dataOffset() < 12 || wave.dataLength() < 0
        || wave.dataOffset() + wave.dataLength() > qint64(size))
        std::abort();
    if (!(wave.durationSeconds() >= 0.0))
        std::abort();
    return 0;
}
