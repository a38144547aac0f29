#include "wavefile.h"

#include "platform/fillin.h"
#include "wavelayout.h"
#include "waveplayer.h"

#include <QFile>
#include <QtEndian>

#include <cstring>

namespace glimmerix
{

namespace
{

// The largest format block: the 18-byte structure plus the most its 16-bit extra size can add.
constexpr std::int64_t kMaximumFormatBlock = WaveLayout::kFormatSize + 0xFFFF;

struct ChunkHeader {
    char id[4];
    std::uint32_t size;
};

bool readChunkHeader(QIODevice &device, ChunkHeader &header)
{
    char bytes[WaveLayout::kChunkHeaderSize];
    if (device.read(bytes, sizeof bytes) != qint64(sizeof bytes))
        return false;
    std::memcpy(header.id, bytes, 4);
    header.size = qFromLittleEndian<quint32>(bytes + 4);
    return true;
}

bool isId(const char id[4], const char expected[4])
{
    return std::memcmp(id, expected, 4) == 0;
}

QString idText(const char id[4])
{
    QString text;
    for (int i = 0; i < 4; ++i) {
        const auto c = static_cast<unsigned char>(id[i]);
        text += c >= 0x20 && c < 0x7F ? QChar(c) : QChar(u'?');
    }
    return text;
}

} // namespace

WaveFile::WaveFile() = default;
WaveFile::~WaveFile() = default;

bool WaveFile::load(const QString &path, std::int64_t *dataOffset)
{
    m_path = path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(
            WaveError::CannotOpen, QStringLiteral("cannot open: %1").arg(file.errorString()));
    const bool loaded = load(file);
    if (loaded && dataOffset)
        *dataOffset = m_dataOffset;
    return loaded;
}

bool WaveFile::load(QIODevice &device)
{
    using namespace WaveLayout;
    m_formatBlock.clear();
    m_dataLength = 0;
    m_dataOffset = 0;
    m_factSamples = 0;
    m_error = WaveError::None;
    m_errorDetail.clear();
    m_warning.clear();

    const std::int64_t fileSize = device.size();
    char riff[kRiffHeaderSize];
    if (!device.seek(0) || device.read(riff, sizeof riff) != qint64(sizeof riff)) {
        return fail(WaveError::Truncated,
            QStringLiteral("file of %1 bytes is shorter than the 12-byte RIFF header")
                .arg(fileSize));
    }
    if (!isId(riff, kRiffId))
        return fail(WaveError::NotRiff,
            QStringLiteral("starts with \"%1\", not \"RIFF\"").arg(idText(riff)));
    if (!isId(riff + 8, kWaveForm)) {
        return fail(WaveError::NotWave,
            QStringLiteral("RIFF form \"%1\", not \"WAVE\"").arg(idText(riff + 8)));
    }
    // The RIFF size counts from the form type on; the form ends where it says or where the file
    // does, whichever comes first.
    const std::int64_t riffSize = qFromLittleEndian<quint32>(riff + 4);
    std::int64_t formEnd = 8 + riffSize;
    if (riffSize == 0) {
        // Some programs writing to a pipe leave the size 0: the form is the whole file.
        m_warning = QStringLiteral("RIFF size 0; read up to the end of the file (%1 bytes)")
                        .arg(fileSize);
        formEnd = fileSize;
    } else if (formEnd > fileSize) {
        m_warning = fillIn(
            QStringLiteral("RIFF size %1 runs past the end of the file (%2 bytes); read up "
                           "to the end of the file"),
            riffSize, fileSize);
        formEnd = fileSize;
    }

    std::int64_t position = kRiffHeaderSize;
    bool haveData = false;
    while (!haveData || m_formatBlock.isEmpty()) {
        ChunkHeader chunk;
        if (position + kChunkHeaderSize > formEnd || !device.seek(position)
            || !readChunkHeader(device, chunk)) {
            if (m_formatBlock.isEmpty()) {
                return fail(position + kChunkHeaderSize > fileSize ? WaveError::Truncated
                                                                   : WaveError::NoFormat,
                    QStringLiteral("no \"fmt \" chunk in the %1 bytes of the RIFF form")
                        .arg(formEnd));
            }
            return fail(WaveError::NoData,
                QStringLiteral("no \"data\" chunk in the %1 bytes of the RIFF form").arg(formEnd));
        }
        const std::int64_t body = position + kChunkHeaderSize;
        std::int64_t size = chunk.size;
        if (isId(chunk.id, kFormatId) && m_formatBlock.isEmpty()) {
            if (size > formEnd - body) {
                return fail(WaveError::Truncated,
                    fillIn(
                        QStringLiteral("\"fmt \" chunk of %1 bytes is cut by the end of the file "
                                       "after %2 bytes"),
                        size, formEnd - body));
            }
            if (!readFormat(device, size))
                return false;
        } else if (isId(chunk.id, kFactId) && size >= kFactBodySize && size <= formEnd - body) {
            char count[kFactBodySize];
            if (device.read(count, sizeof count) == qint64(sizeof count))
                m_factSamples = qFromLittleEndian<quint32>(count);
        } else if (isId(chunk.id, kDataId) && !haveData) {
            if (size > formEnd - body) {
                const QString clamp = fillIn(
                    QStringLiteral("\"data\" size %1 runs past the end of the file; %2 bytes "
                                   "of sound are there"),
                    size, formEnd - body);
                m_warning = m_warning.isEmpty() ? clamp : m_warning + QStringLiteral("; ") + clamp;
                size = formEnd - body;
            }
            m_dataOffset = body;
            m_dataLength = size;
            haveData = true;
        }
        position = body + size + (size & 1);
    }
    return true;
}

bool WaveFile::readFormat(QIODevice &device, std::int64_t size)
{
    using namespace WaveLayout;
    if (size < kMinimumFormatSize) {
        return fail(WaveError::BadFormat,
            QStringLiteral("format block of %1 bytes is shorter than 16").arg(size));
    }
    if (size > kMaximumFormatBlock) {
        return fail(WaveError::BadFormat,
            fillIn(QStringLiteral("format block of %1 bytes is longer than %2"), size,
                kMaximumFormatBlock));
    }
    QByteArray block = device.read(size);
    if (block.size() != size)
        return fail(
            WaveError::Truncated, QStringLiteral("format block cut by the end of the file"));
    const WaveFormat format = WaveFormat::fromBlock(block);
    if (format.channels == 0)
        return fail(WaveError::BadFormat, QStringLiteral("format with 0 channels"));
    if (format.samplesPerSec == 0)
        return fail(WaveError::BadFormat, QStringLiteral("format with a sample rate of 0"));
    if (format.blockAlign == 0)
        return fail(WaveError::BadFormat, QStringLiteral("format with a block alignment of 0"));
    m_formatBlock = block;
    return true;
}

bool WaveFile::fail(WaveError error, const QString &detail)
{
    m_formatBlock.clear();
    m_dataLength = 0;
    m_dataOffset = 0;
    m_factSamples = 0;
    m_error = error;
    m_errorDetail = detail;
    return false;
}

double WaveFile::durationSeconds() const
{
    // A compressed format's byte rate is only a nominal figure (some programs write a wrong one);
    // its "fact" sample count, when present, gives the exact length.
    const WaveFormat current = format();
    if (!current.isPcm() && m_factSamples > 0 && current.samplesPerSec > 0)
        return double(m_factSamples) / double(current.samplesPerSec);
    return current.seconds(m_dataLength);
}

bool WaveFile::play(const QString &path)
{
    if (!m_player)
        m_player = std::make_unique<WavePlayer>();
    if (!load(path) || m_dataOffset == 0)
        return false;
    return m_player->playFile(path, m_formatBlock, m_dataOffset, m_dataLength);
}

} // namespace glimmerix
