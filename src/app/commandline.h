#pragma once

#include <QString>
#include <QStringList>

namespace glimmerix
{

// The program's command line: an album to open and media files to add, plus the embedding and
// automation switches. Switches begin with '-' ("-embedding", "--automation", case-insensitive);
// "--" ends the switches so a file whose name begins with '-' can be named. File arguments are
// made absolute against the folder the program was started in, so a path means the same file
// when it is handed to an instance that runs elsewhere.
struct StartupCommandLine {
    QString fileName; // the first file argument (the album to open when it is one), or empty
    QStringList files; // every file argument, in order
    bool embedding = false; // "-embedding" or "--view": single-file viewing of the first file
    bool automation = false;
    QStringList unknownSwitches;
};

StartupCommandLine parseCommandLine(const QStringList &arguments, const QString &currentFolder);

// True when `path`'s extension is ".gmx" (case-insensitive).
bool isAlbumFileName(const QString &path);

// The name for the untitled album in the open step: a command-line file that is not an album
// becomes this pseudo-name, and it and kUntitledName both mean "no album file yet".
inline constexpr const char *kNewPseudoName = "NEW";
inline constexpr const char *kUntitledName = "Untitled";
bool meansUntitled(const QString &name);

// The name the open step receives: the command-line file when it is an album, else "NEW".
QString albumNameToOpen(const StartupCommandLine &commandLine);
// The album shown first: the named album, or `lastFile` when none (or the untitled one) was
// named. Empty means an untitled album.
QString albumToShow(const StartupCommandLine &commandLine, const QString &lastFile);
// The files added to the shown album as new items, in order: every file argument that is not an
// album file.
QStringList filesToAdd(const StartupCommandLine &commandLine);

// Whether the last album `lastFile` is to be forgotten after `album` was to be shown at start and
// the document now has `openedPath`: only when it was the last album, did not open, and its file
// is gone. An album that is merely in use by another window (or unreadable for a while) stays.
bool forgetsLastAlbum(const QString &album, const QString &lastFile, const QString &openedPath);

enum class StartupDecision {
    FirstInstance, // no other instance runs: take the lock and receive hand-overs
    HandOver, // give the files to the running instance and end
    SecondInstance, // another runs, but an album (or nothing) was named: run independently
};

// Another instance runs and the first file named is not an album: hand over. Any other start
// with another instance running is a full second instance.
StartupDecision decideStartup(const StartupCommandLine &commandLine, bool anotherInstanceRuns);

} // namespace glimmerix
