#pragma once

// Numbers of the controls inside each window, kept as the widgets' object names. A number is
// unique within its window; two windows may use the same number.

// The album view: the first thumbnail cell, the scroll bar and the three edit rows.
namespace glimmerix::ViewControl
{
inline constexpr int kFirstCell = 100;
inline constexpr int kDescriptionEdit = 1001;
inline constexpr int kDescriptionLabel = 1002;
inline constexpr int kCaptionLabel = 1003;
inline constexpr int kKeywordsLabel = 1004;
inline constexpr int kCaptionEdit = 1005;
inline constexpr int kScrollBar = 1008;
inline constexpr int kKeywordsEdit = 1024;
} // namespace glimmerix::ViewControl

// The progress window.
namespace glimmerix::ProgressControl
{
inline constexpr int kProgressBar = 1049;
inline constexpr int kTextLine = 1051;
inline constexpr int kTitleLine = 1052;
} // namespace glimmerix::ProgressControl

// The launcher set-up dialog.
namespace glimmerix::LauncherSetupControl
{
inline constexpr int kLabelField = 1024;
inline constexpr int kPathField = 1025;
inline constexpr int kAddButton = 1145;
inline constexpr int kIconPicture = 1147;
inline constexpr int kRemoveButton = 1148;
inline constexpr int kProgramList = 1260;
inline constexpr int kChangeButton = 1261;
} // namespace glimmerix::LauncherSetupControl

// The main window: the item-count pane and the status bar.
namespace glimmerix::FrameControl
{
inline constexpr int kItemCountPane = 123;
inline constexpr int kStatusBar = 59393;
// The item toolbar and the size grip of the compact window (single-file viewing).
inline constexpr int kToolBar = 59392;
inline constexpr int kResizeBar = 59395;
} // namespace glimmerix::FrameControl

namespace ViewControl = glimmerix::ViewControl;
namespace ProgressControl = glimmerix::ProgressControl;
namespace LauncherSetupControl = glimmerix::LauncherSetupControl;
namespace FrameControl = glimmerix::FrameControl;

// The item picking page of the product wizards.
namespace glimmerix::PickPageControl
{
inline constexpr int kAllItems = 1174;
inline constexpr int kChosen = 1175;
inline constexpr int kAdd = 1176;
inline constexpr int kRemoveAll = 1221;
inline constexpr int kAddAll = 1222;
inline constexpr int kRemove = 1223;
inline constexpr int kSizeText = 1229;
inline constexpr int kConvertBox = 1230;
} // namespace glimmerix::PickPageControl

// The web album wizard's layout, captions and destination pages.
namespace glimmerix::WebLayoutControl
{
inline constexpr int kTitle = 1024;
inline constexpr int kPerPageText = 1059;
inline constexpr int kRows = 1184;
inline constexpr int kColumns = 1187;
inline constexpr int kTheme = 1188;
inline constexpr int kSmall = 1197;
inline constexpr int kMedium = 1198;
inline constexpr int kLarge = 1199;
} // namespace glimmerix::WebLayoutControl

namespace glimmerix::WebCaptionsControl
{
inline constexpr int kName = 1101;
inline constexpr int kField1 = 1189;
inline constexpr int kField2 = 1190;
inline constexpr int kField3 = 1191;
inline constexpr int kSize = 1193;
} // namespace glimmerix::WebCaptionsControl

namespace glimmerix::WebDestinationControl
{
inline constexpr int kDiscFolderName = 1025;
inline constexpr int kFolderText = 1051;
inline constexpr int kBrowse = 1076;
inline constexpr int kFreeSpace = 1090;
inline constexpr int kCdRadio = 1194;
inline constexpr int kFolderRadio = 1195;
inline constexpr int kNeededSize = 1229;
inline constexpr int kAutoRunBox = 1231;
inline constexpr int kSpareBox = 1233;
inline constexpr int kDiscFolderBox = 1241;
} // namespace glimmerix::WebDestinationControl

// The slide show wizard's sound and destination pages.
namespace glimmerix::SlideSoundControl
{
inline constexpr int kMusicFile = 1024;
inline constexpr int kMusicRadio = 1164;
inline constexpr int kBrowse = 1165;
inline constexpr int kPictureSoundsRadio = 1167;
inline constexpr int kNoSoundRadio = 1168;
inline constexpr int kNeededSize = 1224;
} // namespace glimmerix::SlideSoundControl

namespace glimmerix::SlideDestinationControl
{
inline constexpr int kFolderText = 1024;
inline constexpr int kDiscFolderName = 1025;
inline constexpr int kBrowse = 1076;
inline constexpr int kFreeSpace = 1090;
inline constexpr int kCdRadio = 1194;
inline constexpr int kFolderRadio = 1195;
inline constexpr int kNeededSize = 1229;
inline constexpr int kAutoRunBox = 1231;
inline constexpr int kSpareBox = 1233;
inline constexpr int kDiscFolderBox = 1241;
} // namespace glimmerix::SlideDestinationControl

// The album search dialog.
namespace glimmerix::SearchControl
{
inline constexpr int kAlbums = 1041;
inline constexpr int kTarget = 1042;
inline constexpr int kText = 1095;
inline constexpr int kMatchCase = 1097;
inline constexpr int kField2 = 1098;
inline constexpr int kField1 = 1099;
inline constexpr int kNotes = 1100;
inline constexpr int kName = 1101;
} // namespace glimmerix::SearchControl

// The presentation settings dialog.
namespace glimmerix::PresentationControl
{
inline constexpr int kMusicFile = 1024;
inline constexpr int kSeconds = 1025;
inline constexpr int kAlbum = 1046;
inline constexpr int kLoop = 1048;
inline constexpr int kBrowse = 1076;
inline constexpr int kTransitions = 1094;
inline constexpr int kMusicRadio = 1169;
inline constexpr int kSoundsRadio = 1172;
inline constexpr int kNoSoundRadio = 1173;
} // namespace glimmerix::PresentationControl

// The video postcard wizard's pages: frame, text, clip and destination (the destination page
// uses the web album destination page's numbers, WebDestinationControl).
namespace glimmerix::PostcardFrameControl
{
inline constexpr int kPicturePath = 1024;
inline constexpr int kBrowse = 1076;
inline constexpr int kCatalogRadio = 1171;
inline constexpr int kOwnPictureRadio = 1172;
inline constexpr int kSmallWindowRadio = 1197;
inline constexpr int kLargeWindowRadio = 1199;
inline constexpr int kFrameList = 1203;
inline constexpr int kPreview = 1204;
inline constexpr int kCatalogList = 1242;
} // namespace glimmerix::PostcardFrameControl
namespace glimmerix::PostcardTextControl
{
inline constexpr int kMessage = 1024;
inline constexpr int kLowerLine = 1025;
inline constexpr int kFontButton = 1246;
inline constexpr int kUpperLine = 1247;
} // namespace glimmerix::PostcardTextControl
namespace glimmerix::PostcardClipControl
{
inline constexpr int kStop = 1165;
inline constexpr int kPlay = 1205;
inline constexpr int kOpen = 1208;
} // namespace glimmerix::PostcardClipControl
