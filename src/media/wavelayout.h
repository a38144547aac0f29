#pragma once

#include <cstdint>

namespace glimmerix
{

// Byte layout of a RIFF WAVE file. Every chunk is an 8-byte header (four-character id, 32-bit
// little-endian size of the body) followed by the body and, when the size is odd, one pad byte.
//
//   "RIFF" size "WAVE"          the form chunk; size counts everything after its size field
//     "fmt " size <format>      the format block (at least the 16 bytes below)
//     "fact" 4 <sample count>   written by us; other files may carry "LIST", "cue ", ...
//     "data" size <samples>
namespace WaveLayout
{
inline constexpr char kRiffId[4] = { 'R', 'I', 'F', 'F' };
inline constexpr char kWaveForm[4] = { 'W', 'A', 'V', 'E' };
inline constexpr char kFormatId[4] = { 'f', 'm', 't', ' ' };
inline constexpr char kFactId[4] = { 'f', 'a', 'c', 't' };
inline constexpr char kDataId[4] = { 'd', 'a', 't', 'a' };

inline constexpr int kChunkHeaderSize = 8; // id + size
inline constexpr int kRiffHeaderSize = 12; // "RIFF" + size + "WAVE"

// The format block (WAVEFORMATEX): offsets of its fields.
inline constexpr int kFormatTag = 0; // uint16
inline constexpr int kChannels = 2; // uint16
inline constexpr int kSamplesPerSec = 4; // uint32
inline constexpr int kAvgBytesPerSec = 8; // uint32
inline constexpr int kBlockAlign = 12; // uint16
inline constexpr int kBitsPerSample = 14; // uint16
inline constexpr int kExtraSize = 16; // uint16, only in blocks of 18 bytes and more
inline constexpr int kMinimumFormatSize = 16; // a PCM block may stop before the extra size
inline constexpr int kFormatSize = 18; // the whole WAVEFORMATEX structure

inline constexpr std::uint16_t kTagPcm = 1;
inline constexpr std::uint16_t kTagImaAdpcm = 0x11;
inline constexpr int kFactBodySize = 4;
} // namespace WaveLayout

} // namespace glimmerix
