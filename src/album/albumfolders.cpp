#include "albumfolders.h"

#include "core/folders.h"
#include "platform/paths.h"

#include <QFileInfo>

namespace glimmerix
{

QString addFilesStartFolder(const QString &albumFolder, const QString &programFolder)
{
    if (!albumFolder.isEmpty())
        return albumFolder;
    if (!programFolder.isEmpty())
        return programFolder;
    return photosFolder();
}

QString albumPathForArgument(const QString &argument)
{
    if (argument.contains(u'/') || argument.endsWith(QLatin1String(".gmx"), Qt::CaseInsensitive))
        return QFileInfo(argument).absoluteFilePath();
    return joinPath(albumsFolder(), argument + QStringLiteral(".gmx"));
}

} // namespace glimmerix
