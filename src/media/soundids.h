#pragma once

// String-table numbers of the sound recorder's and player's messages and texts.
namespace SoundMessage
{
inline constexpr int kNoFormat = 50396;
inline constexpr int kNoInputDevice = 50397;
inline constexpr int kNoBufferMemory = 50398;
inline constexpr int kInputRefusesFormat = 50399;
inline constexpr int kSaveToAlbum = 50401; // caption of the save button when working for an album
inline constexpr int kNoOutputDevice = 50450;
inline constexpr int kOutputNotOpened = 50451;
inline constexpr int kBufferNotPlayed = 50452;
inline constexpr int kOutputNotPrepared = 50453;
inline constexpr int kNothingToSave = 50475;
inline constexpr int kSaveFailed = 50476;
inline constexpr int kFormatChooserTitle = 50496;
inline constexpr int kStoppedStatus = 50532; // %lu bytes, %.1f seconds
inline constexpr int kPlayingStatus = 50533;
inline constexpr int kRecordingStatus = 50534;
inline constexpr int kUnsavedQuestion = 59400;
} // namespace SoundMessage
