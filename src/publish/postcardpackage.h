#pragma once

#include "cddelivery.h"
#include "postcardfile.h"

#include <QString>
#include <QStringList>

namespace glimmerix
{

class Progress;

// What making a postcard package came to; the wizard and the command line turn it into their
// own message (the wizard: 50502 for NoClip, 50500 for FileNotWritten, else the problems list).
enum class PostcardResult { Ok, NoClip, ClipUnusable, NoPlayer, FileNotWritten, CopyFailed };
struct PostcardOutcome {
    PostcardResult result = PostcardResult::Ok;
    QString detail; // "FILE: cause"
    bool ok() const { return result == PostcardResult::Ok; }
};

// Checks a disc folder name typed on the postcard's destination page: as acceptDiscFolderName,
// and a name holding ";" is refused as well (only the postcard refuses it).
bool acceptPostcardDiscFolderName(QString &name);

// The player copied into every package as "VideoPostcard.exe".
QString postcardPlayerSource();

// Makes a postcard package from a run's working folder (ending in '/'): "background.vtp" and
// "postcard.html" written there, then the clip and the player checked and everything delivered
// into a folder or handed to a CD. Nothing is written into a destination before every source has
// been checked, and a delivery that fails half-way removes what it had copied.
class PostcardPackage
{
public:
    PostcardPackage(const QString &workingFolder, const QString &clipPath,
        const QString &playerSource = postcardPlayerSource());

    // Checks the clip (chosen, present, opened by FFmpeg with a picture) and the player.
    PostcardOutcome checkSources() const;
    // Writes "background.vtp" and "postcard.html" for `content` into the working folder.
    PostcardOutcome writeFiles(const PostcardContent &content);
    // Delivers the package into `folder` by the folder rule of deliverPackage (a missing or empty
    // folder, or an earlier postcard's when `replaceEarlier`), advancing `progress` (range 2)
    // when given: background.vtp, the clip as video.<ext>, VideoPostcard.exe, postcard.html.
    // The clip is read before anything in the folder changes, so a clip that lies in the folder
    // (an earlier postcard's video.<ext>) is never cut short.
    PostcardOutcome deliverToFolder(
        const QString &folder, Progress *progress = nullptr, bool replaceEarlier = false);
    // Copies the clip into the working folder and fills `product` for a CD delivery.
    PostcardOutcome prepareDisc(CdProduct &product, const QString &discFolder);

private:
    QString m_workingFolder;
    QString m_clipPath;
    QString m_playerSource;
    QString m_backgroundPath;
    QString m_htmlPath;
};

} // namespace glimmerix
