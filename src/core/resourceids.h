#pragma once

// Numbers of the bitmaps, icons, dialog templates and bars in the resource bundle. The widgets
// carry them as object names, so tests and other windows find them by number.
namespace glimmerix::Resource
{
inline constexpr int kItemToolBar = 4; // cut, copy and paste, 16 x 16 each
inline constexpr int kProgramIcon = 129;
inline constexpr int kProgressDialog = 146;
inline constexpr int kPictureToolBar = 163; // the picture window's twelve 16 x 16 buttons
inline constexpr int kStartupBitmap = 180;
inline constexpr int kAlbumBar = 191;
inline constexpr int kLauncherSetupDialog = 192;
inline constexpr int kLauncherBar = 193;
inline constexpr int kLauncherNormalBitmap = 195;
inline constexpr int kLauncherPressedBitmap = 196;
inline constexpr int kLauncherHoverBitmap = 197;
inline constexpr int kAttachmentIcon = 303;
inline constexpr int kSearchDialog = 143;
} // namespace glimmerix::Resource

// Help topics of the wizard pages.
namespace glimmerix::HelpTopic
{
inline constexpr int kSlideShowPickPage = 660;
inline constexpr int kSlideShowSoundPage = 661;
inline constexpr int kSlideShowDestinationPage = 662;
inline constexpr int kWebPickPage = 670;
inline constexpr int kWebLayoutPage = 671;
inline constexpr int kWebCaptionsPage = 672;
inline constexpr int kWebDestinationPage = 673;
inline constexpr int kSearchDialog = 640;
inline constexpr int kPresentationDialog = 611;
inline constexpr int kPostcardFramePage = 680;
inline constexpr int kPostcardDestinationPage = 682;
inline constexpr int kPostcardTextPage = 683;
} // namespace glimmerix::HelpTopic

namespace Resource = glimmerix::Resource;
