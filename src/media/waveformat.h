#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>

namespace glimmerix
{

// A sound format as the format block of a WAVE file describes it. The block itself (the bytes of
// the "fmt " chunk, possibly longer than the fields below) travels as a QByteArray; this struct
// is the decoded view of its first 18 bytes.
struct WaveFormat {
    std::uint16_t formatTag = 0;
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSec = 0;
    std::uint32_t avgBytesPerSec = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
    std::uint16_t extraSize = 0;

    // Uncompressed PCM with `bits` per sample (8 or 16), its derived fields filled in.
    static WaveFormat pcm(std::uint32_t rate, std::uint16_t bits, std::uint16_t channels);
    // Decodes the first bytes of a format block; a block shorter than 16 bytes gives all zeros,
    // and one of 16 or 17 bytes has no extra size (0).
    static WaveFormat fromBlock(QByteArrayView block);
    // The block of `size` bytes (at least 18): the fields, then zeros.
    QByteArray toBlock(int size) const;

    bool isPcm() const;
    // Seconds of sound in `bytes` of data; 0 when the format gives no byte rate.
    double seconds(std::int64_t bytes) const;

    friend bool operator==(const WaveFormat &, const WaveFormat &) = default;
};

// The part of a buffer of `capacity` bytes that holds whole sample blocks: capacity minus the
// rest of capacity divided by the block alignment (alignment 0 counts as 1).
std::int64_t alignedBufferLength(std::int64_t capacity, std::uint16_t blockAlign);

// Two format blocks choose the same format when their first 18 bytes are equal (missing bytes
// count as zeros).
bool sameFormatBlock(QByteArrayView a, QByteArrayView b);

// "PCM", "IMA ADPCM", ... for the tags in common use; "tag 0x%04X" for the rest.
QString formatTagName(std::uint16_t tag);

} // namespace glimmerix
