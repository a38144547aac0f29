#pragma once

// String-table numbers of the messages and texts the album document, its file and the importer
// show.
namespace AlbumMessage
{
inline constexpr int kOpenErrorTitle = 50300; // title of the open-failure box (last char cut)
inline constexpr int kUntitledName = 50302; // name of a new, unsaved album
inline constexpr int kSaveUntitledQuestion = 50325;
inline constexpr int kCannotDeleteFile = 50334; // %s: the media file
inline constexpr int kIconPictureMissing = 50341; // %s: the icon picture's path
inline constexpr int kNoPictureForRebuild = 50349;
inline constexpr int kThumbnailNotMade = 50350;
inline constexpr int kAddingFiles = 50353; // progress title while adding or converting
inline constexpr int kLoadingAlbum = 50354; // progress title while loading
inline constexpr int kOpenAlbumTitle = 50356;
inline constexpr int kUnknownVersion = 50479; // %s: the version text
inline constexpr int kOldAlbumFilter = 50524;
inline constexpr int kOldAlbumTitle = 50525;
inline constexpr int kMediaFilter = 50528;
inline constexpr int kAviCannotOpen = 50102;
inline constexpr int kAviNoStream = 50103;
inline constexpr int kAviNoFrame = 50104;
inline constexpr int kOutOfMemory = 54001;
inline constexpr int kPictureUnreadable = 54017;
inline constexpr int kAddFilesTitle = 54018;
inline constexpr int kTiffTooLarge = 54033;
inline constexpr int kIdleStatus = 57345;
// Linux additions: a path longer than the 259 bytes a record can hold (%s: the path), and the
// question when a converted album's name is taken (%s: the album path).
inline constexpr int kPathTooLong = 59001;
inline constexpr int kConvertedAlbumExists = 59002;
inline constexpr int kMissingFileQuestion = 59003; // %s: the missing media file
inline constexpr int kSaveChangesQuestion = 59004; // %s: the album path
// Keeping albums whole: %s is the album's path.
inline constexpr int kNotAnAlbum = 59110; // %s
inline constexpr int kAlbumDamaged = 59111; // %s, items recovered, items the header claims
inline constexpr int kAlbumNotSaved = 59113; // %s, the reason
inline constexpr int kDamagedAlbumKept = 59114; // %s: the copy of the damaged album
} // namespace AlbumMessage
