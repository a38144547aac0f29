#pragma once

#include <QString>

namespace glimmerix
{

// `fileName` with " (number)" before its extension: "trip.jpg", 2 -> "trip (2).jpg".
QString numberedFileName(const QString &fileName, int number);

// `path` when no file or link has that name, else the first of "NAME (2).EXT", "NAME (3).EXT",
// ... beside it that is free.
QString freeFilePath(const QString &path);

// Makes a new, empty file in `folder` named "<stem>-XXXXXX<suffix>" (the X's chosen so that the
// name is new; mode 0600) and returns its path. Two windows or programs working in one folder
// thus never share a temporary file. Empty, with `error` set, when no file can be made there.
QString createPrivateFile(
    const QString &folder, const QString &stem, const QString &suffix, QString *error = nullptr);

} // namespace glimmerix
