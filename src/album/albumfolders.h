#pragma once

#include <QString>

namespace glimmerix
{

// How album arguments become file paths, and where Add Files starts.

// Where the Add-files dialog starts: the folder the album's last Add-files ended in, else the
// program's add-photo folder, else the photos folder.
QString addFilesStartFolder(const QString &albumFolder, const QString &programFolder);
// An album argument as a file path: a path (containing '/' or ending in ".gmx") stands as it is,
// made absolute; any other text is a name in the albums folder with ".gmx" appended.
QString albumPathForArgument(const QString &argument);

} // namespace glimmerix
