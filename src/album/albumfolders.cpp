#include "albumfolders.h"

#include "albumdoc.h"
#include "core/appsettings.h"
#include "core/folders.h"
#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>

QString albumsFolder()
{
    return Folders().albumsFolder();
}

QString photosFolder()
{
    return Folders().photosFolder();
}

QString addFilesStartFolder(const CAlbumDoc &document)
{
    if (!document.addFilesFolder().isEmpty())
        return document.addFilesFolder();
    if (!appSettings().addPhotoPath().isEmpty())
        return appSettings().addPhotoPath();
    return photosFolder();
}

QString albumPathForArgument(const QString &argument)
{
    if (argument.contains(u'/') || argument.endsWith(QLatin1String(".gmx"), Qt::CaseInsensitive))
        return QFileInfo(argument).absoluteFilePath();
    return joinPath(albumsFolder(), argument + QStringLiteral(".gmx"));
}

QString absoluteItemPath(const QString &path)
{
    if (path.startsWith(u'/'))
        return path;
    return joinPath(userFolder(), path);
}
