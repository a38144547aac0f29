#pragma once

#include <QString>

#include <memory>

class QSharedMemory;

namespace glimmerix
{

// The shared memory "ImagePath" (named in the private instance folder, one per user and user
// folder): another process of the same user and user folder puts a picture path there (a 260-byte,
// zero-terminated record) and tells the running Glimmerix with message 0x464, which adds the
// picture to its album.

inline constexpr int kImagePathMessage = 0x464;
// The answer to message 0x464 when the window is busy (a dialog is open): the path was taken and
// is added when the window is free. 1 means added, 0 not added.
inline constexpr int kImagePathQueued = 2;
inline constexpr int kImagePathBytes = 260;

// Why publishImagePath gave no memory.
// TooLong: the path is empty or does not fit the record.
enum class ImagePathProblem { None, TooLong, InUse, CannotCreate };

// Creates the shared memory and writes `path` into it. The memory lives as long as the returned
// object, so the sender keeps it until the receiver has answered; while it lives, the sender also
// holds the lock file "ImagePath.lock" beside it, so a second sender is told that a hand-over is
// in progress instead of overwriting the first one's path. Null when the path is empty or does
// not fit the record, another hand-over is in progress, or the memory cannot be made; `problem`
// (when given) says which.
std::unique_ptr<QSharedMemory> publishImagePath(
    const QString &path, ImagePathProblem *problem = nullptr);
// Reads the path from the shared memory; empty when there is none.
QString readImagePath();

} // namespace glimmerix
