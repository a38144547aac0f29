#pragma once

#include <QHash>
#include <QString>

namespace glimmerix
{

// The kind of storage a media file lies on, in the order of the album's drive counters. Linux
// has no drive letters: the kind comes from the file system holding the file's nearest existing
// folder (statfs), and for block devices from the kernel's removable flag.
enum class DriveKind { Fixed = 0, Optical = 1, Removable = 2, Network = 3, None = 4 };

inline constexpr int kDriveCounterCount = 4;

DriveKind driveKindOf(const QString &absolutePath);

// What an album counts for one media file, from a single status query when the file exists.
struct MediaFileFacts {
    bool exists = false;
    qint64 size = 0;
    DriveKind drive = DriveKind::None;
};

// Remembers the drive kind of folders whose files are missing, for one pass over many items.
using FolderDriveKinds = QHash<QString, DriveKind>;

// The facts of `absolutePath`. A missing file's kind is that of its nearest existing folder,
// looked up once per folder through `missingFolders`.
MediaFileFacts mediaFileFactsOf(const QString &absolutePath, FolderDriveKinds &missingFolders);

} // namespace glimmerix
