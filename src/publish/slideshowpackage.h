#pragma once

#include "cddelivery.h"
#include "itempicker.h"
#include "slideshowfile.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace glimmerix
{

// A WAVE file's length in whole seconds as the show file keeps it: the data length divided by
// the average bytes per second, truncated, but 1 when the quotient lies above 0 and below 1. 0
// when the file cannot be read as WAVE or has no byte rate.
std::uint32_t waveSeconds(const QString &path);

// What writing the show file came to.
enum class ShowFileResult {
    Written,
    NothingChosen, // no chosen-item records
    MusicUnusable, // the music file is not a WAVE file with a length (message 50481)
    NotWritten, // the show file or a sound copy could not be made (message 50385; detail says why)
};

// The slide show's files beyond the picking page's working copies: the show file "slide.sld",
// the page "slideshow.html" that plays the show in a browser, and copies of the music or of the
// pictures' sounds, all in the picker's working folder and listed among its extra files. Then
// the whole package goes into a folder or onto a CD.
class SlideShowPackage
{
public:
    explicit SlideShowPackage(ItemPicker &picker);

    // The sound page's choice: music from `musicPath`, each picture's own sound, or none.
    void setSound(ShowSound sound, const QString &musicPath = {});
    ShowSound sound() const { return m_sound; }
    const QString &musicPath() const { return m_musicPath; }

    // Sum of the sizes of the chosen pictures' sound files that exist.
    qint64 pictureSoundBytes() const;
    // What the package needs before the show file: the picker's estimate plus the music's size
    // or the pictures' sounds.
    qint64 neededBytes() const;

    // Writes the show file and the page for the current choice, replacing those of an earlier
    // call (its sound copies leave the working folder and the extra files). The sounds are
    // copied under their own names; a different sound whose name is taken gets "_1", "_2", ...
    ShowFileResult writeShowFile();
    // Why the last write failed, "FILE: cause".
    const QString &detail() const { return m_detail; }
    // Size of the show file written last; 0 before.
    qint64 showFileBytes() const { return m_showBytes; }
    const SlideShowFile &show() const { return m_show; }
    // Pictures' sounds that could not be used, "FILE: cause"; their entries stay silent.
    const QStringList &problems() const { return m_problems; }

    // Every file of the package in delivery order: the working copies, then the extra files.
    QStringList files() const;
    // Delivers the package into `folder` by the folder rule of deliverPackage: a missing or empty
    // folder, or an earlier slide show package's when `replaceEarlier`. Refuses before copying
    // anything when a file of the package is missing; a failed delivery leaves the folder as it
    // was. Empty on success, else "FILE: cause".
    QString deliverToFolder(const QString &folder, bool replaceEarlier = false) const;
    // The package as the CD delivery takes it, with AutoRun.inf and `discFolder`.
    CdProduct cdProduct(const QString &discFolder) const;

private:
    void dropSoundCopies();
    // The name a copy of `source` takes in the package.
    QString copyName(const QString &source, QHash<QString, QString> &names, QStringList &taken);
    bool copySound(const QString &source, const QString &name);

    ItemPicker &m_picker;
    ShowSound m_sound = ShowSound::None;
    QString m_musicPath;
    SlideShowFile m_show;
    QStringList m_soundCopies;
    QStringList m_problems;
    QString m_detail;
    qint64 m_showBytes = 0;
};

inline constexpr const char *kShowPageName = "slideshow.html";

} // namespace glimmerix
