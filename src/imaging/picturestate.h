#pragma once

#include "imagecodes.h"

#include <QString>

class QFile;

#include <cstddef>

namespace glimmerix
{

// State of the picture layer and the host calls every picture loop makes. The current path and
// the quiet and progress switches belong to the calling thread (a new thread starts with no path,
// quiet off and progress on); the size limit and the save folder are the program's, set at
// start-up.

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
// Opens `file` on `path` for reading after recording `path` as the current picture path.
// CannotOpen with the cause when it cannot be opened; nothing is shown.
DecodeResult openPictureFile(QFile &file, const QString &path);

// The largest picture (pixel bytes of the image block) any reader accepts. Decoders check the
// header against it before allocating, so a hostile file cannot ask for unbounded memory.
std::size_t pictureByteLimit();
void setPictureByteLimit(std::size_t bytes);

// The folder where the save dialog offered for Photo CD pictures starts (the application sets
// it; default: the user's photos folder).
QString pictureSaveFolder();
void setPictureSaveFolder(const QString &folder);

// Maps a reader's outcome to the file layer's reader result at a reader's entry point, and shows
// what the entry point owes the user: the open-failure message when the file cannot be opened
// (unless the quiet switch is on), message 54001 for no memory or a picture beyond the size
// limit. Results: the block (also a partly decoded one after a late error), 0 (failed,
// unsupported, no memory, too large), -1 (wrong kind), -2 (cannot open, unreadable); a cancel
// gives `cancelledResult`.
BlockHandle fileReaderResult(
    const DecodeResult &result, const QString &path, BlockHandle cancelledResult);
// The same for a writer's entry point: 1 written, 0 failed or no memory, 2 unsuitable, 3 cannot
// create (message 54009); a cancel gives `cancelledResult`.
int fileWriterResult(const WriteResult &result, int cancelledResult);

} // namespace glimmerix
