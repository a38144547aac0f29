#pragma once

#include <QString>

#include <memory>

class QSharedMemory;

namespace glimmerix
{

// The shared memory "ImagePath" (named in the user's private runtime folder): another process of
// the same user puts a picture path there (a 260-byte,
// zero-terminated record) and tells the running Glimmerix with message 0x464, which adds the
// picture to its album.

inline constexpr int kImagePathMessage = 0x464;
// The answer to message 0x464 when the window is busy (a dialog is open): the path was taken and
// is added when the window is free. 1 means added, 0 not added.
inline constexpr int kImagePathQueued = 2;
inline constexpr int kImagePathBytes = 260;

// Creates the shared memory and writes `path` into it. The memory lives as long as the returned
// object, so the sender keeps it until the receiver has answered. Null when the path does not fit
// the record or the memory cannot be made.
std::unique_ptr<QSharedMemory> publishImagePath(const QString &path);
// Reads the path from the shared memory; empty when there is none.
QString readImagePath();

} // namespace glimmerix
