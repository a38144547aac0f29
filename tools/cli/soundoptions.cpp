#include "soundoptions.h"

using namespace glimmerix;

bool readPcmOptions(const QHash<QString, QString> &values, WaveFormat &format, QString &problem)
{
    bool valid = true;
    const auto number = [&values, &valid](const QString &name, int fallback) {
        if (!values.contains(name))
            return fallback;
        bool parsed = false;
        const int value = values.value(name).toInt(&parsed);
        valid = valid && parsed;
        return value;
    };
    const int rate = number(QStringLiteral("rate"), int(format.samplesPerSec));
    const int bits = number(QStringLiteral("bits"), format.bitsPerSample);
    const int channels = number(QStringLiteral("channels"), format.channels);
    if (!valid || rate < 1000 || rate > 192000 || (bits != 8 && bits != 16)
        || (channels != 1 && channels != 2)) {
        problem = QStringLiteral("--rate 1000..192000, --bits 8 or 16, --channels 1 or 2");
        return false;
    }
    format = WaveFormat::pcm(std::uint32_t(rate), std::uint16_t(bits), std::uint16_t(channels));
    return true;
}
