#pragma once

#include <QByteArray>
#include <QString>

namespace glimmerix
{

// File operations of the product wizards. Each failure gives a cause in words ("no such file",
// "disk full", "permission denied") meant to follow "FILE: ".

// Copies `source` over `destination` (replacing it) and leaves the copy with normal permissions.
// The copy is written to a new file beside the destination and renamed over it when complete, so
// a link at the destination is replaced, never written through, and a failed copy leaves the
// file it would have replaced as it was. Empty on success, else the cause; `failedFile` names
// the file the cause is about (source or destination).
QString copyProductFile(
    const QString &source, const QString &destination, QString *failedFile = nullptr);

// Copies a program (a player a package carries) as copyProductFile does and lets everyone run
// it, so the recipient can start it from the folder or the disc.
QString copyProductProgram(
    const QString &source, const QString &destination, QString *failedFile = nullptr);

// Writes `content` to `path`, replacing it as copyProductFile does (new file, then a rename).
// Empty on success, else the cause.
QString writeWholeFile(const QString &path, const QByteArray &content);

// A failed system call's errno in the words the product messages use ("disk full", ...).
QString systemErrorCause(int error);

// Free bytes on the file system holding `folder`, or -1 when that cannot be asked.
qint64 freeBytes(const QString &folder);

// The part of `path` after its last '/' (the old '\\' separator too).
QString fileNameOf(const QString &path);
// File name without its extension (the text before the last '.'; the whole name without one).
QString baseNameOf(const QString &path);

} // namespace glimmerix
