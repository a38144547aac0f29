#pragma once

// Pieces of `glimix-cli album` shared by its sub-commands: opening the album argument, reading
// item indexes and fields, the listings and the bitmap writer.

#include "album/albumdoc.h"

#include <QString>
#include <QStringList>

#include <optional>

using namespace glimmerix;

// Opens ALBUM (a path or a name in the albums folder) into `doc`, holding its lock until `doc`
// lets it go; returns its path, or an empty string after reporting why it could not be opened
// (missing, a folder, not an album, in use).
QString openAlbumForCli(CAlbumDoc &doc, const QString &album);
// Opens ALBUM like openAlbumForCli for a command that only reads it: without its lock, so a
// window or command writing the album does not hold the reader up (saves replace the file by a
// rename, so the reader gets the last album saved whole). `doc` cannot be saved.
QString openAlbumForReading(CAlbumDoc &doc, const QString &album);
// The item index an argument names, or -1 after reporting a bad index.
int indexArgument(const CAlbumDoc &doc, const QString &argument);
AlbumItem *itemArgument(const CAlbumDoc &doc, const QString &argument);
// Sets "description", "caption" or "keywords" of item `index`; false for an unknown field.
bool setItemField(CAlbumDoc &doc, int index, const QString &field, const QString &text);
// 0-4 for a sort key name or number, -1 otherwise.
int sortKeyArgument(const QString &argument);
// Writes the item's thumbnail as a picture of the type `path`'s extension names.
bool writeThumbnailPicture(const AlbumItem &item, const QString &path);
// "0,3,5-9" as album item indexes in the order given; nothing after a usage error of `command`.
std::optional<QList<int>> parseItemList(
    const QString &command, const QString &text, int itemCount);
// The files a command reads from `doc`: the album file, its items' files and their sounds.
QStringList albumInputFiles(const CAlbumDoc &doc);
// Refuses an output that is one of `inputs`: the same file by device and inode (so another
// spelling, a link or a second hard link of it is caught too). Reports "OUTPUT: is INPUT, which
// the command reads; choose another file" and returns false; true when `output` is none of them.
bool outputSparesInputs(const QString &output, const QStringList &inputs);
// A text on one line: backslash, line ends and tabs written as \\, \n, \r and \t.
QString oneLine(const QString &text);

int albumList(const QStringList &args);
int albumFacts(const QStringList &args);
