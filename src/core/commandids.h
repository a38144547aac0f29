#pragma once

// Menu command numbers. They are the program's own constants: help topics, the enable-state
// pass and other windows refer to commands by these numbers.
namespace glimmerix::Command
{
// Scanner: choose the source, then acquire from it.
inline constexpr int kSelectSourceAndAcquire = 32772;
inline constexpr int kSort = 32775;
inline constexpr int kRemove = 32776;
inline constexpr int kAddFiles = 32780;
// Adds a folder with all its sub-folders; finds the moved files of items whose file is gone.
inline constexpr int kAddFolder = 32870;
inline constexpr int kFindMissingFiles = 32871;
inline constexpr int kOpenInNewWindow = 32781;
// Scanner: ask the source manager for the default source.
inline constexpr int kQueryDefaultSource = 32782;
inline constexpr int kAlbumList = 32785;
inline constexpr int kOpenAlbum = 32790;
inline constexpr int kRenameAlbum = 32795;
inline constexpr int kCopyAlbum = 32796;
inline constexpr int kDeleteAlbum = 32797;
inline constexpr int kCopyAlbumFiles = 32798;
inline constexpr int kAlbumProperties = 32800;
inline constexpr int kItemProperties = 32802;
inline constexpr int kCopyFiles = 32807;
inline constexpr int kFieldLabels = 32808;
inline constexpr int kOpenPicture = 32809;
// Opens the video capture dialog.
inline constexpr int kVideoCapture = 32811;
inline constexpr int kExternalPrograms = 32812;
inline constexpr int kRebuildThumbnail = 32814;
inline constexpr int kSendMail = 32815;
inline constexpr int kAttachSound = 32816;
inline constexpr int kPlaySound = 32818;
// Starts the web album wizard.
inline constexpr int kWebAlbum = 32819;
// Starts the slide show wizard.
inline constexpr int kSlideShow = 32806;
// Starts the video postcard wizard.
inline constexpr int kVideoPostcard = 32820;
// Searches albums for a text and collects the items found in a target album.
inline constexpr int kSearchAlbums = 32792;
// Plays the album's pictures full screen.
inline constexpr int kPresentation = 32793;
// Record a sound with the sound recorder and attach it to the current item.
inline constexpr int kRecordSound = 32831;
inline constexpr int kSelectNone = 32832;
inline constexpr int kRemoveSound = 32833;
inline constexpr int kConvertOldAlbums = 32835;
// The online photo service: upload the chosen pictures, download pictures into the album.
inline constexpr int kOnlineUpload = 32844;
inline constexpr int kOnlineDownload = 32845;
inline constexpr int kNew = 57600;
// Opens any album file through a file dialog (the album chooser lists only the albums folder).
inline constexpr int kOpen = 57601;
inline constexpr int kSave = 57603;
inline constexpr int kSaveAs = 57604;
inline constexpr int kExit = 57665;
inline constexpr int kSelectAll = 57642;
inline constexpr int kAbout = 57664;
inline constexpr int kHelpIndex = 57667;
inline constexpr int kHelpTopic400 = 400;
// Printing contact sheets and the album clipboard.
inline constexpr int kPrintSetup = 57606;
inline constexpr int kPrint = 57607;
inline constexpr int kCopy = 57634;
inline constexpr int kCut = 57635;
inline constexpr int kPaste = 57637;
// Undo and redo of the album's changes.
inline constexpr int kUndo = 57643;
inline constexpr int kRedo = 57644;

// Picture window: the tools (one is checked at a time) ...
inline constexpr int kPictureSelect = 40000; // select an area; right-click crops to it
inline constexpr int kPictureRotate = 40010;
inline constexpr int kPictureBrightness = 40050;
inline constexpr int kPictureContrast = 40060;
inline constexpr int kPictureSharpness = 40070;
inline constexpr int kPictureSaturation = 40090;
// ... and the actions.
inline constexpr int kPictureCentreSelection = 40020;
inline constexpr int kPictureZoomIn = 40030;
inline constexpr int kPictureZoomOut = 40040;
inline constexpr int kPictureUndo = 40080;
inline constexpr int kPicturePlaySound = 40091;
inline constexpr int kPictureRecordSound = 40092;
} // namespace glimmerix::Command

namespace Command = glimmerix::Command;
