#pragma once

#include <QString>

#include <QtGlobal>

#include <cstddef>
#include <ctime>
#include <memory>

class QIODevice;

namespace glimmerix
{

// The album file an album was loaded from, kept open so that thumbnail bitmaps can stay in it
// until they are wanted. The open handle keeps the loaded contents readable when a save (or
// another process) puts a new file in its place; a file changed in place (cut short, written
// over) is noticed by its size and modification time, and every read after that fails instead
// of giving bytes that belong to some other album.
class AlbumFileSource
{
public:
    // Keeps its own handle on the file open behind `handle`; nullptr when that is not possible.
    static std::shared_ptr<AlbumFileSource> adopt(int handle);
    ~AlbumFileSource();
    AlbumFileSource(const AlbumFileSource &) = delete;
    AlbumFileSource &operator=(const AlbumFileSource &) = delete;

    // The file's size when it was adopted.
    qint64 size() const { return m_size; }
    // Whether the file still has the size and modification time it had when adopted.
    bool unchanged() const;
    // Reads `size` bytes at `offset` into `into`; false (and every later read fails too) when the
    // file has changed or cannot supply them all.
    bool read(qint64 offset, void *into, std::size_t size);
    // Like read() but only as many bytes as the file holds there: the count read, or -1 when
    // the file has changed or a read fails.
    qint64 readAvailable(qint64 offset, void *into, std::size_t size);
    // Writes `size` bytes from `offset` to `device`; false when a read or a write fails.
    bool copyTo(QIODevice &device, qint64 offset, qint64 size);
    // Set once a read failed because the file changed or ended early.
    bool failed() const { return m_failed; }

    // The words for a failed read: what happened to the album file.
    static QString changedReason();

private:
    explicit AlbumFileSource(int handle);

    int m_handle = -1;
    qint64 m_size = 0;
    timespec m_modified {};
    bool m_failed = false;
};

} // namespace glimmerix
