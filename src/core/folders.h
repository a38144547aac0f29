#pragma once

#include <QString>

namespace glimmerix
{

// The program's working folders, derived at every start from the resource folder (read-only
// program data) and the user folder (the user's albums and media; $GLIMMERIX_HOME, default
// ~/Glimmerix). Every accessor gives an absolute path without a trailing slash.
//
//   support folder          <resource>/SUPPORT      not made
//   local template folder   <resource>/Template     not made
//   albums folder           <user>/ALBUMS           made when missing
//   photos folder           <user>/PHOTOS           made when missing
//   audio folder            <user>/AUDIO            made when missing
//   video folder            <user>/VIDEO            made when missing
//   template folder         <user>/TEMPLATE         made when missing
//   slide show folder       <user>/SlideShow        made when missing
//   web album folder        <user>/WebAlbum         made when missing
//   video card folder       <user>/VideoCard        made when missing
class Folders
{
public:
    // Derives the folders from resourceFolder() and userFolder() (see platform/paths.h).
    Folders();
    Folders(const QString &resourceFolder, const QString &userFolder);

    // Makes the user folder and every folder of it that is missing; failures are ignored (later
    // file operations in them report their own errors).
    void makeMissing() const;

    const QString &resourceFolder() const { return m_resource; }
    const QString &userFolder() const { return m_user; }
    QString supportFolder() const;
    QString localTemplateFolder() const;
    QString albumsFolder() const;
    QString photosFolder() const;
    QString audioFolder() const;
    QString videoFolder() const;
    QString templateFolder() const;
    QString slideShowFolder() const;
    QString webAlbumFolder() const;
    QString videoCardFolder() const;

private:
    QString m_resource;
    QString m_user;
};

// The albums and photos folders of the standard folders (userFolder()/ALBUMS, userFolder()/PHOTOS):
// where albums live and the album list looks, and the base of item paths stored as relative.
QString albumsFolder();
QString photosFolder();

// The template folder on the CD: `cdDrive` (a mount point here) joined with `templateDir`, or
// with "Template" when no folder is named. Empty when no CD drive is configured.
QString cdTemplateFolder(const QString &cdDrive, const QString &templateDir, bool templateDirSet);

} // namespace glimmerix
