#include "albumfolders.h"

#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>

QString albumsFolder()
{
    return joinPath(userFolder(), QStringLiteral("ALBUMS"));
}

QString photosFolder()
{
    return joinPath(userFolder(), QStringLiteral("PHOTOS"));
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
