#pragma once

#include <QString>

namespace glimmerix
{

class CAlbumDoc;

enum class CopyFilesResult { AllCopied, SomeFailed, Cancelled, NothingSelected };

// Copies the media files of the selected items, in album order, into `folder`. A progress
// window (title 50369) shows each file; Cancel stops. An item already in that folder is skipped;
// an existing destination asks question 50314 (Yes replaces, No skips, Cancel stops). A failed
// copy shows the system's error text. At the end message 50329 (all copied) or 50328 (some
// failed) is shown unless the run was cancelled. The album itself is not changed.
CopyFilesResult copySelectedFiles(const CAlbumDoc &document, const QString &folder);

} // namespace glimmerix
