#include "wavewriter.h"

#include "platform/fillin.h"
#include "platform/savefilecommit.h"
#include "waveformat.h"
#include "wavelayout.h"

#include <QIODevice>
#include <QSaveFile>
#include <QtEndian>

#include <cmath>

namespace glimmerix
{

namespace
{

constexpr std::int64_t kCopyPiece = 32000;

QByteArray chunkHeader(const char id[4], std::uint32_t size)
{
    QByteArray header(id, 4);
    header.resize(WaveLayout::kChunkHeaderSize);
    qToLittleEndian<quint32>(size, header.data() + 4);
    return header;
}

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

std::uint32_t factSampleCount(const WaveFormat &format, std::int64_t dataBytes)
{
    if (format.avgBytesPerSec == 0)
        return 0;
    const double samples
        = double(dataBytes) / double(format.avgBytesPerSec) * double(format.samplesPerSec);
    return samples >= 4294967295.0 ? 0xFFFFFFFFu : std::uint32_t(samples);
}

bool writeWaveFile(const QString &path, const QByteArray &formatBlock, QIODevice &data,
    std::int64_t dataBytes, QString *error)
{
    using namespace WaveLayout;
    const std::int64_t formatSize = formatBlock.size() + (formatBlock.size() & 1);
    const std::int64_t riffSize = 4 + kChunkHeaderSize + formatSize + kChunkHeaderSize
        + kFactBodySize + kChunkHeaderSize + dataBytes + (dataBytes & 1);
    if (dataBytes < 0 || riffSize > 0xFFFFFFFFLL) {
        return fail(error,
            QStringLiteral("%1 bytes of sound do not fit in a WAVE file (at most 4 GB)")
                .arg(dataBytes));
    }

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(error, file.errorString());
    QByteArray head = chunkHeader(kRiffId, std::uint32_t(riffSize));
    head.append(kWaveForm, 4);
    head += chunkHeader(kFormatId, std::uint32_t(formatBlock.size()));
    head += formatBlock;
    if (formatBlock.size() & 1)
        head += '\0';
    head += chunkHeader(kFactId, kFactBodySize);
    QByteArray fact(kFactBodySize, '\0');
    qToLittleEndian<quint32>(
        factSampleCount(WaveFormat::fromBlock(formatBlock), dataBytes), fact.data());
    head += fact;
    head += chunkHeader(kDataId, std::uint32_t(dataBytes));
    if (file.write(head) != head.size())
        return fail(error, file.errorString());

    QByteArray piece;
    for (std::int64_t left = dataBytes; left > 0;) {
        piece = data.read(std::min(left, kCopyPiece));
        if (piece.isEmpty()) {
            file.cancelWriting();
            return fail(error,
                fillIn(QStringLiteral("the recording ends after %1 of %2 bytes"), dataBytes - left,
                    dataBytes));
        }
        if (file.write(piece) != piece.size())
            return fail(error, file.errorString());
        left -= piece.size();
    }
    if ((dataBytes & 1) && file.write("\0", 1) != 1)
        return fail(error, file.errorString());
    if (!commitSaveFile(file))
        return fail(error, file.errorString());
    return true;
}

} // namespace glimmerix
