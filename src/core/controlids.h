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
} // namespace glimmerix::FrameControl

namespace ViewControl = glimmerix::ViewControl;
namespace ProgressControl = glimmerix::ProgressControl;
namespace LauncherSetupControl = glimmerix::LauncherSetupControl;
namespace FrameControl = glimmerix::FrameControl;
