#pragma once

#include <QString>

// The kind of storage a media file lies on, in the order of the album's drive counters. Linux
// has no drive letters: the kind comes from the file system holding the file's nearest existing
// folder (statfs), and for block devices from the kernel's removable flag.
enum class DriveKind { Fixed = 0, Optical = 1, Removable = 2, Network = 3, None = 4 };

inline constexpr int kDriveCounterCount = 4;

DriveKind driveKindOf(const QString &absolutePath);
