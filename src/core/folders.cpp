#include "folders.h"

#include "platform/paths.h"

#include <QDir>

namespace glimmerix
{

namespace
{

QString withoutTrailingSlash(QString path)
{
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path;
}

} // namespace

Folders::Folders()
    : Folders(glimmerix::resourceFolder(), glimmerix::userFolder())
{
}

Folders::Folders(const QString &resourceFolder, const QString &userFolder)
    : m_resource(withoutTrailingSlash(QDir::cleanPath(QDir(resourceFolder).absolutePath())))
    , m_user(withoutTrailingSlash(QDir::cleanPath(QDir(userFolder).absolutePath())))
{
}

void Folders::makeMissing() const
{
    const QString folders[] = { m_user, albumsFolder(), photosFolder(), audioFolder(),
        videoFolder(), templateFolder(), slideShowFolder(), webAlbumFolder(), videoCardFolder() };
    for (const QString &folder : folders)
        makeFolderIfMissing(folder);
}

QString Folders::supportFolder() const
{
    return joinPath(m_resource, QStringLiteral("SUPPORT"));
}

QString Folders::localTemplateFolder() const
{
    return joinPath(m_resource, QStringLiteral("Template"));
}

QString Folders::albumsFolder() const
{
    return joinPath(m_user, QStringLiteral("ALBUMS"));
}

QString Folders::photosFolder() const
{
    return joinPath(m_user, QStringLiteral("PHOTOS"));
}

QString Folders::audioFolder() const
{
    return joinPath(m_user, QStringLiteral("AUDIO"));
}

QString Folders::videoFolder() const
{
    return joinPath(m_user, QStringLiteral("VIDEO"));
}

QString Folders::templateFolder() const
{
    return joinPath(m_user, QStringLiteral("TEMPLATE"));
}

QString Folders::slideShowFolder() const
{
    return joinPath(m_user, QStringLiteral("SlideShow"));
}

QString Folders::webAlbumFolder() const
{
    return joinPath(m_user, QStringLiteral("WebAlbum"));
}

QString Folders::videoCardFolder() const
{
    return joinPath(m_user, QStringLiteral("VideoCard"));
}

QString cdTemplateFolder(const QString &cdDrive, const QString &templateDir, bool templateDirSet)
{
    if (cdDrive.isEmpty())
        return {};
    QString name = templateDirSet ? templateDir : QStringLiteral("Template");
    while (name.startsWith(u'/'))
        name.remove(0, 1);
    const QString drive = withoutTrailingSlash(cdDrive);
    return name.isEmpty() ? drive : withoutTrailingSlash(joinPath(drive, name));
}

QString albumsFolder()
{
    return Folders().albumsFolder();
}

QString photosFolder()
{
    return Folders().photosFolder();
}

} // namespace glimmerix
