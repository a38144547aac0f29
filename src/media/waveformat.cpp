#include "waveformat.h"

#include "wavelayout.h"

#include <QString>
#include <QtEndian>

#include <algorithm>

namespace glimmerix
{

WaveFormat WaveFormat::pcm(std::uint32_t rate, std::uint16_t bits, std::uint16_t channels)
{
    WaveFormat format;
    format.formatTag = WaveLayout::kTagPcm;
    format.channels = channels;
    format.samplesPerSec = rate;
    format.bitsPerSample = bits;
    format.blockAlign = std::uint16_t(channels * ((bits + 7) / 8));
    format.avgBytesPerSec = rate * format.blockAlign;
    return format;
}

WaveFormat WaveFormat::fromBlock(QByteArrayView block)
{
    using namespace WaveLayout;
    WaveFormat format;
    if (block.size() < kMinimumFormatSize)
        return format;
    const auto *bytes = reinterpret_cast<const uchar *>(block.data());
    format.formatTag = qFromLittleEndian<quint16>(bytes + kFormatTag);
    format.channels = qFromLittleEndian<quint16>(bytes + kChannels);
    format.samplesPerSec = qFromLittleEndian<quint32>(bytes + kSamplesPerSec);
    format.avgBytesPerSec = qFromLittleEndian<quint32>(bytes + kAvgBytesPerSec);
    format.blockAlign = qFromLittleEndian<quint16>(bytes + kBlockAlign);
    format.bitsPerSample = qFromLittleEndian<quint16>(bytes + kBitsPerSample);
    if (block.size() >= kFormatSize)
        format.extraSize = qFromLittleEndian<quint16>(bytes + kExtraSize);
    return format;
}

QByteArray WaveFormat::toBlock(int size) const
{
    using namespace WaveLayout;
    QByteArray block(std::max(size, kFormatSize), '\0');
    auto *bytes = reinterpret_cast<uchar *>(block.data());
    qToLittleEndian<quint16>(formatTag, bytes + kFormatTag);
    qToLittleEndian<quint16>(channels, bytes + kChannels);
    qToLittleEndian<quint32>(samplesPerSec, bytes + kSamplesPerSec);
    qToLittleEndian<quint32>(avgBytesPerSec, bytes + kAvgBytesPerSec);
    qToLittleEndian<quint16>(blockAlign, bytes + kBlockAlign);
    qToLittleEndian<quint16>(bitsPerSample, bytes + kBitsPerSample);
    qToLittleEndian<quint16>(extraSize, bytes + kExtraSize);
    return block;
}

bool WaveFormat::isPcm() const
{
    return formatTag == WaveLayout::kTagPcm;
}

double WaveFormat::seconds(std::int64_t bytes) const
{
    return avgBytesPerSec == 0 ? 0.0 : double(bytes) / double(avgBytesPerSec);
}

std::int64_t alignedBufferLength(std::int64_t capacity, std::uint16_t blockAlign)
{
    return capacity - capacity % std::max<std::int64_t>(blockAlign, 1);
}

bool sameFormatBlock(QByteArrayView a, QByteArrayView b)
{
    for (qsizetype i = 0; i < WaveLayout::kFormatSize; ++i) {
        const char left = i < a.size() ? a[i] : '\0';
        const char right = i < b.size() ? b[i] : '\0';
        if (left != right)
            return false;
    }
    return true;
}

QString formatTagName(std::uint16_t tag)
{
    switch (tag) {
    case 0x0001:
        return QStringLiteral("PCM");
    case 0x0002:
        return QStringLiteral("Microsoft ADPCM");
    case 0x0003:
        return QStringLiteral("IEEE float");
    case 0x0006:
        return QStringLiteral("A-law");
    case 0x0007:
        return QStringLiteral("u-law");
    case 0x0011:
        return QStringLiteral("IMA ADPCM");
    case 0x0031:
        return QStringLiteral("GSM 6.10");
    case 0x0055:
        return QStringLiteral("MPEG layer 3");
    case 0xFFFE:
        return QStringLiteral("extensible");
    }
    return QStringLiteral("tag 0x%1")
        .arg(QString::number(tag, 16).toUpper().rightJustified(4, u'0'));
}

} // namespace glimmerix
