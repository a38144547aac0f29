#pragma once

#include "blockmemory.h"

#include <QString>

class QFile;

#include <cstddef>

// Program-wide state of the picture layer and the host calls every picture loop makes. All of it
// is used on the user-interface thread only.

// The path of the picture being read; readers set it before opening the file and the
// open-failure message quotes it.
QString currentPicturePath();
void setCurrentPicturePath(const QString &path);

// While on, the bitmap, PCX, Targa and TIFF readers do not show the open-failure message.
bool quietSwitch();
void setQuietSwitch(bool on);

// While on (the default), picture loops report their progress in status pane 0.
bool progressSwitch();
void setProgressSwitch(bool on);

// Sets the quiet switch for the lifetime of the object and restores the previous value.
class QuietScope
{
public:
    QuietScope()
        : m_previous(quietSwitch())
    {
        setQuietSwitch(true);
    }
    ~QuietScope() { setQuietSwitch(m_previous); }
    QuietScope(const QuietScope &) = delete;
    QuietScope &operator=(const QuietScope &) = delete;

private:
    bool m_previous;
};

// True while the user holds Escape down.
bool pollEscape();
// Shows string 54012 followed by `percent` and "%" in status pane 0 while the progress switch
// is on.
void reportProgress(int percent);
// The open-failure message: string 54013, the path, a space, string 54014.
void showOpenFailure(const QString &path);
// Opens `file` on `path` for reading after recording `path` as the current picture path; when it
// cannot be opened shows the open-failure message unless the quiet switch is on.
bool openPictureFile(QFile &file, const QString &path);

// The largest picture (pixel bytes of the image block) any reader accepts. Decoders check the
// header against it before allocating, so a hostile file cannot ask for unbounded memory.
std::size_t pictureByteLimit();
void setPictureByteLimit(std::size_t bytes);

// The folder where the save dialog offered for Photo CD pictures starts (the application sets
// it; default: the user's photos folder).
QString pictureSaveFolder();
void setPictureSaveFolder(const QString &folder);

// A picture buffer of `size` bytes (plus the spare bytes of the picture allocator). With
// `interactive` set a failure shows message 54001; without it nothing is shown.
BlockHandle allocPicture(std::size_t size, bool interactive);

struct DecodeResult;
// Maps a decoder's outcome to the file layer's reader result: the block, 0 (failed, no memory,
// too large: message 54001), -1 (wrong kind), -2 (unreadable); a cancel gives `cancelledResult`.
BlockHandle fileReaderResult(const DecodeResult &result, BlockHandle cancelledResult);
