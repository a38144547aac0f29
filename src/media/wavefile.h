#pragma once

#include "waveformat.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>

class QIODevice;

namespace glimmerix
{

class WavePlayer;

// Why a WAVE file could not be read. Each failure also has a detail text naming the values that
// were found, for the command line and for the user's message.
enum class WaveError {
    None,
    CannotOpen, // the file cannot be opened for reading
    Truncated, // the file ends inside a header or the format block
    NotRiff, // no "RIFF" form at the start
    NotWave, // a RIFF form of another type
    NoFormat, // no "fmt " chunk before the end
    BadFormat, // zero channels, rate or block alignment, or a block too short or too long
    NoData, // no "data" chunk
};

// Reads where a WAVE file keeps its format and its sound data. The RIFF form is walked chunk by
// chunk ("LIST", "fact", "cue " and unknown chunks are skipped, odd sizes are followed by their
// pad byte); the first "fmt " chunk is the format block and the first "data" chunk gives the
// data length and offset. Every read is checked against the real file size:
//   - a RIFF size past the end of the file (a 4 GB field written by a streaming program, or a
//     cut file) is clamped to the file, and the chunks are read up to where the file ends;
//   - a "data" size past the end of the file is clamped to the bytes that are there;
//   - both clamps are reported in warning() but the file loads;
//   - a file cut before the format block, or a format of zero channels, zero rate or zero block
//     alignment, is refused: error() and errorDetail() say why, format and lengths are cleared.
// Compressed formats (IMA ADPCM and others) load with their format and length; only playback
// needs a decoder.
class WaveFile
{
public:
    WaveFile();
    ~WaveFile();
    WaveFile(const WaveFile &) = delete;
    WaveFile &operator=(const WaveFile &) = delete;

    // Reads the file at `path`; on success `dataOffset` (when given) receives the data offset.
    bool load(const QString &path, std::int64_t *dataOffset = nullptr);
    // Reads from an open device (position 0 is the start of the file).
    bool load(QIODevice &device);

    // Plays the file's data through a WavePlayer made on first use, as far as the first two
    // buffers; the player then feeds itself until the end. False (with the player's message shown)
    // when the file does not load or the device refuses.
    bool play(const QString &path);
    WavePlayer *player() const { return m_player.get(); }

    const QString &path() const { return m_path; }
    const QByteArray &formatBlock() const { return m_formatBlock; }
    WaveFormat format() const { return WaveFormat::fromBlock(m_formatBlock); }
    std::int64_t dataLength() const { return m_dataLength; }
    std::int64_t dataOffset() const { return m_dataOffset; }
    // Data length divided by the average bytes per second; 0 when there is no format. For a
    // compressed format with a "fact" chunk: its sample count divided by the sample rate.
    double durationSeconds() const;

    WaveError error() const { return m_error; }
    const QString &errorDetail() const { return m_errorDetail; }
    // What was clamped while reading a file that loaded; empty when nothing was.
    const QString &warning() const { return m_warning; }

private:
    bool fail(WaveError error, const QString &detail);
    bool readFormat(QIODevice &device, std::int64_t size);

    QString m_path;
    QByteArray m_formatBlock;
    std::int64_t m_dataLength = 0;
    std::int64_t m_dataOffset = 0;
    std::uint32_t m_factSamples = 0;
    WaveError m_error = WaveError::None;
    QString m_errorDetail;
    QString m_warning;
    std::unique_ptr<WavePlayer> m_player;
};

} // namespace glimmerix
