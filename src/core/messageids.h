#pragma once

// Numbers of the strings and messages in the language bundle (lang/<language>/strings). Every
// number the program shows, asks or uses as a key name is named here once; callers include this
// header instead of writing the number again.
namespace glimmerix::Message
{
// Album document, album file and import.
inline constexpr int kAviCannotOpen = 50102;
inline constexpr int kAviNoStream = 50103;
inline constexpr int kAviNoFrame = 50104;
inline constexpr int kFileMissing = 50106; // %s: the program path, or the file to show alone
inline constexpr int kOpenErrorTitle = 50300; // title of the open-failure box (last char cut)
inline constexpr int kUntitledName = 50302; // name of a new, unsaved album
inline constexpr int kReplaceQuestion = 50314;
inline constexpr int kDefaultCaptionLabel = 50315;
inline constexpr int kDefaultKeywordsLabel = 50316;
inline constexpr int kDefaultDescriptionLabel = 50317;
inline constexpr int kAlbumSizePane = 50323;
inline constexpr int kSaveUntitledQuestion = 50325;
inline constexpr int kSomeFilesNotCopied = 50328;
inline constexpr int kAllFilesCopied = 50329;
inline constexpr int kNoCurrentItem = 50333;
inline constexpr int kCannotDeleteFile = 50334; // %s: the media file
inline constexpr int kIconPictureMissing = 50341; // %s: the icon picture's path
inline constexpr int kItemCount = 50342; // %s: the number of items
inline constexpr int kStartFailed = 50343; // a launcher click could not start the program
inline constexpr int kAlreadyListed = 50347; // the chosen program is already in the list
inline constexpr int kButtonStatus = 50348; // %s: the launcher button's label
inline constexpr int kNoPictureForRebuild = 50349;
inline constexpr int kThumbnailNotMade = 50350;
inline constexpr int kNo24BitCopy = 50351;
inline constexpr int kAddingFiles = 50353; // progress title while adding or converting
inline constexpr int kLoadingAlbum = 50354; // progress title while loading
inline constexpr int kOpenAlbumTitle = 50356;
inline constexpr int kRenameTitle = 50357;
inline constexpr int kRenameFailedCaption = 50358;
inline constexpr int kRenameFailed = 50359;
inline constexpr int kCopyTitle = 50360;
inline constexpr int kCopyFailed = 50361;
inline constexpr int kCopyFailedCaption = 50362;
inline constexpr int kDeleteFailed = 50363;
inline constexpr int kDeleteFailedCaption = 50364;
inline constexpr int kByteCount = 50365; // %lu: a size in bytes
inline constexpr int kCopyFilesCaption = 50366;
inline constexpr int kNotEnoughSpace = 50367;
inline constexpr int kCopyFilesProgress = 50368;
inline constexpr int kCopyingFiles = 50369;
inline constexpr int kTimeFormat = 50372;
inline constexpr int kPixelsFormat = 50374;
inline constexpr int kPictureMissing = 50376;
inline constexpr int kNotAPicture = 50377;
inline constexpr int kJpegSaveFilter = 50390;
inline constexpr int kNewWindowTitle = 50391;
inline constexpr int kClipboardQuestion = 50393;
inline constexpr int kUnknownVersion = 50479; // %s: the version text
inline constexpr int kEmptyStatus = 50504; // the launcher list is empty
inline constexpr int kOldAlbumFilter = 50524;
inline constexpr int kOldAlbumTitle = 50525;
inline constexpr int kMediaFilter = 50528;

// Sound recorder and player.
inline constexpr int kNoFormat = 50396; // no recording format can be set up
inline constexpr int kNoInputDevice = 50397;
inline constexpr int kNoBufferMemory = 50398; // a capture or playback buffer
inline constexpr int kInputRefusesFormat = 50399;
inline constexpr int kSaveToAlbum = 50401; // caption of the recorder's save button for an album
inline constexpr int kNoOutputDevice = 50450;
inline constexpr int kOutputNotOpened = 50451;
inline constexpr int kBufferNotPlayed = 50452;
inline constexpr int kOutputNotPrepared = 50453;
inline constexpr int kNothingToSave = 50475; // saving with nothing recorded
inline constexpr int kSaveFailed = 50476; // the WAVE file cannot be created or written
inline constexpr int kFormatChooserTitle = 50496;
inline constexpr int kStoppedStatus = 50532; // %lu bytes, %.1f seconds
inline constexpr int kPlayingStatus = 50533; // %lu bytes, %.1f seconds
inline constexpr int kRecordingStatus = 50534; // %lu bytes, %.1f seconds
inline constexpr int kUnsavedQuestion = 59400; // closing the recorder with an unsaved recording

// Video capture and scanner acquire.
inline constexpr int kStillNotSaved = 50336;
inline constexpr int kClipCaptured = 50339;
inline constexpr int kCapturedClipTitle = 50340;
inline constexpr int kCaptureRunning = 50378; // appended to the status while a capture runs
inline constexpr int kBitmapFilter = 50529; // filter of the save-still dialog
inline constexpr int kScannerLibrary = 54024; // file name of the SANE library
inline constexpr int kScannerUnavailable = 54025;

// Picture layer.
inline constexpr int kOutOfMemory = 54001;
inline constexpr int kCannotCreatePicture = 54009; // a picture file cannot be created
inline constexpr int kPictureProgress = 54012;
inline constexpr int kOpenFailedBefore = 54013;
inline constexpr int kOpenFailedAfter = 54014;
inline constexpr int kItemInformation = 54015; // month, day, year, KB, width, height
inline constexpr int kAlbumInformation = 54016; // %s: the number of items
inline constexpr int kPictureUnreadable = 54017;
inline constexpr int kAddFilesTitle = 54018;
inline constexpr int kUnsupportedTarga = 54026;
inline constexpr int kJpegUnsuitable = 54029;
inline constexpr int kTiffTooLarge = 54033;

// Picture window. The contrast and saturation tools' status texts carry their command numbers.
inline constexpr int kSelectToolStatus = 50312;
inline constexpr int kRotateToolStatus = 50313;
inline constexpr int kBrightnessToolStatus = 50319;
inline constexpr int kSharpnessToolStatus = 50321;
inline constexpr int kSharpnessNeedsTrueColor = 50322;
inline constexpr int kSelectionMadeStatus = 50332;
inline constexpr int kPictureNotSaved = 59130; // %s: the path it was to be saved as
inline constexpr int kSavePictureChanges = 59131; // %s: the picture's file name

// Key names of the private profile (GLIMIX.INI): the key is the string's text.
inline constexpr int kScannerKey = 54010;
inline constexpr int kNextCounterKey = 54019;
inline constexpr int kDayCodeKey = 54023;

// Frame texts.
inline constexpr int kAlbumSizeAllFound = 57000; // %s items, %s KB
inline constexpr int kAlbumSizeSomeMissing = 57001; // %s items
inline constexpr int kMissingFileStatus = 57018;
inline constexpr int kProductName = 57344;
inline constexpr int kIdleStatus = 57345;

// Publishing: item picking, the web album wizard and its pages.
inline constexpr int kPreparingFilesTitle = 50101; // shown without its first character
inline constexpr int kNoProductForUntitled = 50327;
inline constexpr int kWarningTitle = 50380;
inline constexpr int kChosenItemMissing = 50381;
inline constexpr int kFolderPickerTitle = 50386;
inline constexpr int kFreeSpaceUnknown = 50387;
inline constexpr int kWebAlbumCaption = 50482;
inline constexpr int kDefaultPageTitle = 50483;
inline constexpr int kNothingChosen = 50485;
inline constexpr int kPageClosing = 50487;
inline constexpr int kPageNumberFormat = 50488; // %i page, %i pages
inline constexpr int kThumbnailsPerPage = 50489; // %i thumbnails
inline constexpr int kWebAlbumProgressTitle = 50490;
inline constexpr int kNoWebAlbumFolder = 50491;
inline constexpr int kForbiddenDiscFolderCharacters = 50505;
inline constexpr int kThemePlainWhite = 50511;
inline constexpr int kThemeNightSky = 50512;
inline constexpr int kThemeDeepBlue = 50513;
inline constexpr int kThemeParchment = 50514;
inline constexpr int kThemeSunshine = 50516;
inline constexpr int kFolderLabel = 50517;
inline constexpr int kFirstPageLink = 50520;
inline constexpr int kPreviousPageLink = 50521;
inline constexpr int kNextPageLink = 50522;
inline constexpr int kLastPageLink = 50523;
inline constexpr int kSelectButton = 57002;
inline constexpr int kCdApplicationBusy = 59394;
// The slide show wizard: the show file, the destination and (added on Linux) the player.
inline constexpr int kShowFileNotWritten = 50385; // %s: "FILE: cause"
inline constexpr int kNoSlideShowFolder = 50509;
inline constexpr int kSlideShowPlayerMissing = 59121; // %s: "FILE: cause"
// Album search and the full-screen presentation.
inline constexpr int kTooManySearchAlbums = 50303; // %d: the most albums a search reads
inline constexpr int kSearchTitle = 57006;
inline constexpr int kSearchFileError = 57008;
inline constexpr int kSearchProgressTitle = 57009;
inline constexpr int kSearchTargetMissing = 57010;
inline constexpr int kNoSearchText = 57020;
inline constexpr int kNoPicturesToShow = 57012;
inline constexpr int kNoMusicFile = 50480;
inline constexpr int kUnusableMusicFile = 50481;
inline constexpr int kPictureCannotBeShown = 54031; // followed by the picture's path
// Added on Linux: what went wrong while making a product (%s: one "FILE: cause" line each).
inline constexpr int kProductProblems = 59120;
// Video postcard wizard.
inline constexpr int kInterfaceLanguageName = 294; // "ENGLISH", "FRENCH", ...
inline constexpr int kClipDialogTitle = 50497;
inline constexpr int kPostcardFileNotWritten = 50500;
inline constexpr int kNoPostcardFolder = 50501;
inline constexpr int kNoPostcardClip = 50502;
inline constexpr int kInsertTemplateCd = 50506; // %s: the CD drive
inline constexpr int kNoFramePicture = 50507;
inline constexpr int kNoCardBackground = 50510;
inline constexpr int kFramePictureFilter = 50527;
inline constexpr int kCardTextDoesNotFit = 50535;

// CD output: the CD-writing application's automation calls, and (added on Linux) our disc
// component that answers them.
inline constexpr int kCdApplicationFailed = 50493;
inline constexpr int kNoUsableDisc = 50494;
inline constexpr int kCdApplicationError = 50495; // %d: the error code
inline constexpr int kDiscTooSmall = 59161; // %s: megabytes needed, %s: megabytes the disc holds
inline constexpr int kDiscNotWritten = 59162; // %s: the image file or writer, %s: the cause
inline constexpr int kBlankDiscQuestion = 59163; // %s: the writer
inline constexpr int kDiscWritingTitle = 59164;
inline constexpr int kDiscWritten = 59165; // %s: the image file or writer

// Added on Linux: a path longer than the 259 bytes a record can hold (%s: the path), and the
// question when a converted album's name is taken (%s: the album path).
inline constexpr int kPathTooLong = 59001;
inline constexpr int kConvertedAlbumExists = 59002;
inline constexpr int kMissingFileQuestion = 59003; // %s: the missing media file
inline constexpr int kSaveChangesQuestion = 59004; // %s: the album path
inline constexpr int kNoFreeAcquiredName = 59006; // %s: the acquire folder
// Keeping albums whole: %s is the album's path.
inline constexpr int kNotAnAlbum = 59110; // %s
inline constexpr int kAlbumDamaged = 59111; // %s, items recovered, items the header claims
inline constexpr int kAlbumNotSaved = 59113; // %s, the reason
inline constexpr int kDamagedAlbumKept = 59114; // %s: the copy of the damaged album

// Printing, the clipboard and the item data provider.
inline constexpr int kClipboardInUse = 50318;
inline constexpr int kPageNumber = 50370; // %d: the page number
inline constexpr int kPictureNotDrawn = 50395;
inline constexpr int kPrintNumberTooSmall = 57004;
inline constexpr int kPrintRangeReversed = 57005;
inline constexpr int kProviderFileMissing = 57017; // %s: the item's media file
// Single-file viewing.
inline constexpr int kNoApplicationForFile = 59005; // %s: the file
inline constexpr int kPreviewFailed = 61705;
inline constexpr int kPrintFailed = 61706;
inline constexpr int kPrintUsedThumbnails = 61707; // %s: "file: cause" lines
// Online photo service: signing in, listing, downloading and uploading.
inline constexpr int kOnlineNoUserName = 50549;
inline constexpr int kOnlineNoPassword = 50550;
inline constexpr int kOnlineNoUploadConnection = 50551;
inline constexpr int kOnlineNetworkFailed = 50554;
inline constexpr int kOnlineFileFailed = 50555;
inline constexpr int kOnlineCannotConvert = 50556;
inline constexpr int kOnlinePictureTooLarge = 50557;
inline constexpr int kOnlineUploadRefused = 50558; // reply code 4
inline constexpr int kOnlineUploadNotStored = 50559; // reply code 1, or out of range
inline constexpr int kOnlineStorageFull = 50560; // reply code 2
inline constexpr int kOnlineNoConnection = 50561;
inline constexpr int kOnlineLoginRefused = 50562;
inline constexpr int kOnlineCannotList = 50563;
inline constexpr int kOnlineDownloadFileFailed = 50564;
inline constexpr int kOnlineNoDownloadFolder = 50565;
inline constexpr int kOnlineSavedUnderNewNames = 50566; // %s: "old -> new" lines
inline constexpr int kOnlineUnsafeRedirect = 50567;
inline constexpr int kOnlineReplyTooLarge = 50568;
inline constexpr int kOnlineNotAPicture = 50569;
} // namespace glimmerix::Message

namespace Message = glimmerix::Message;
