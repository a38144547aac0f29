#include "slideshowpackage.h"

#include "packagefolder.h"
#include "platform/fillin.h"
#include "productfiles.h"
#include "slideshowhtml.h"

#include "album/albumformat.h"
#include "album/albumitem.h"
#include "media/wavefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace glimmerix
{

namespace
{

QString problem(const QString &file, const QString &cause)
{
    return file + QStringLiteral(": ") + cause;
}

// The item's thumbnail bitmap as stored, read from the album file when it is still there, as a
// copy of its own: the show keeps it after the album changes.
QByteArray thumbnailBytes(const AlbumItem &item)
{
    const QByteArray bitmap = item.thumbnailBitmap();
    return QByteArray(bitmap.constData(), bitmap.size());
}

std::uint32_t creationTime(const QFileInfo &file)
{
    const QDateTime born = file.birthTime();
    const qint64 seconds = (born.isValid() ? born : file.lastModified()).toSecsSinceEpoch();
    return std::uint32_t(std::clamp<qint64>(seconds, 0, 0xFFFFFFFF));
}

} // namespace

std::uint32_t waveSeconds(const QString &path)
{
    WaveFile wave;
    if (!wave.load(path))
        return 0;
    const std::uint32_t rate = wave.format().avgBytesPerSec;
    if (rate == 0)
        return 0;
    const std::int64_t whole = wave.dataLength() / rate;
    if (whole == 0 && wave.dataLength() > 0)
        return 1;
    return std::uint32_t(std::min<std::int64_t>(whole, 0xFFFFFFFF));
}

SlideShowPackage::SlideShowPackage(ItemPicker &picker)
    : m_picker(picker)
{
}

void SlideShowPackage::setSound(ShowSound sound, const QString &musicPath)
{
    m_sound = sound;
    if (!musicPath.isNull())
        m_musicPath = musicPath;
}

qint64 SlideShowPackage::pictureSoundBytes() const
{
    qint64 sum = 0;
    for (const ChosenItem &item : m_picker.chosenItems()) {
        if (!item.sound.isEmpty() && QFileInfo(item.sound).isFile())
            sum += QFileInfo(item.sound).size();
    }
    return sum;
}

qint64 SlideShowPackage::neededBytes() const
{
    switch (m_sound) {
    case ShowSound::Music:
        return m_picker.sizeEstimate()
            + (m_musicPath.isEmpty() ? 0 : QFileInfo(m_musicPath).size());
    case ShowSound::PictureSounds:
        return m_picker.sizeEstimate() + pictureSoundBytes();
    case ShowSound::None:
        break;
    }
    return m_picker.sizeEstimate();
}

void SlideShowPackage::dropSoundCopies()
{
    for (const QString &path : std::as_const(m_soundCopies)) {
        m_picker.removeExtraFile(path);
        QFile::remove(path);
    }
    m_soundCopies.clear();
}

QString SlideShowPackage::copyName(
    const QString &source, QHash<QString, QString> &names, QStringList &taken)
{
    const QString key = QFileInfo(source).absoluteFilePath();
    if (names.contains(key))
        return names.value(key);
    const QString own = fileNameOf(source);
    QString name = own;
    const qsizetype dot = own.lastIndexOf(u'.');
    for (int n = 1; taken.contains(name, Qt::CaseInsensitive); ++n) {
        name = dot < 0 ? fillIn(QStringLiteral("%1_%2"), own, n)
                       : fillIn(QStringLiteral("%1_%2%3"), own.left(dot), n, own.mid(dot));
    }
    taken.append(name);
    names.insert(key, name);
    return name;
}

bool SlideShowPackage::copySound(const QString &source, const QString &name)
{
    const QString copy = m_picker.workingFolder() + name;
    if (m_soundCopies.contains(copy))
        return true;
    QString failedFile;
    const QString cause = copyProductFile(source, copy, &failedFile);
    if (!cause.isEmpty()) {
        m_detail = problem(failedFile, cause);
        return false;
    }
    m_soundCopies.append(copy);
    m_picker.addExtraFile(copy);
    return true;
}

ShowFileResult SlideShowPackage::writeShowFile()
{
    m_detail.clear();
    m_problems.clear();
    const QList<ChosenItem> &items = m_picker.chosenItems();
    if (items.isEmpty())
        return ShowFileResult::NothingChosen;
    dropSoundCopies();
    const QString folder = m_picker.workingFolder();

    SlideShowFile show;
    show.title = fixedText(m_picker.albumHeader().caption);
    show.sound = m_sound;
    // Names the package's own files and pictures hold; a sound copy may not take them.
    QStringList taken { QStringLiteral("slideshow.exe"), QLatin1String(kShowFileName),
        QLatin1String(kShowPageName), QStringLiteral("AutoRun.inf") };
    for (const ChosenItem &item : items)
        taken.append(fileNameOf(item.path));
    QHash<QString, QString> names;

    if (m_sound == ShowSound::Music) {
        show.musicSeconds = waveSeconds(m_musicPath);
        if (show.musicSeconds == 0) {
            m_detail = problem(m_musicPath, QStringLiteral("not a WAVE file with a length"));
            return ShowFileResult::MusicUnusable;
        }
        show.musicName = copyName(m_musicPath, names, taken);
        if (!copySound(m_musicPath, show.musicName))
            return ShowFileResult::NotWritten;
    }

    for (const ChosenItem &item : items) {
        const QFileInfo picture(item.path);
        if (!picture.isFile() || item.info() == nullptr) {
            // Its working copy could not be made; the picking page has said why.
            m_problems.append(problem(item.path, QStringLiteral("left out of the show")));
            continue;
        }
        const ItemInfo &info = *item.info();
        ShowEntry entry;
        entry.pictureBytes = std::uint32_t(std::min<qint64>(picture.size(), 0xFFFFFFFF));
        entry.pictureTime = creationTime(picture);
        entry.pictureName = baseNameOf(item.path) + QStringLiteral(".JPG");
        entry.notes = fixedText(info.description);
        if (m_sound == ShowSound::PictureSounds && !item.sound.isEmpty()) {
            const std::uint32_t seconds = waveSeconds(item.sound);
            if (seconds == 0) {
                m_problems.append(
                    problem(item.sound, QStringLiteral("not a WAVE file with a length")));
            } else {
                const QString name = copyName(item.sound, names, taken);
                if (!copySound(item.sound, name))
                    return ShowFileResult::NotWritten;
                entry.soundName = name;
                entry.soundSeconds = seconds;
            }
        }
        entry.bitsPerPixel = info.sourceBitDepth;
        entry.width = info.sourceWidth;
        entry.height = info.sourceHeight;
        entry.thumbWidth = info.thumbWidth;
        entry.thumbHeight = info.thumbHeight;
        entry.mediaMark = info.isMedia;
        entry.reserved = info.reserved;
        entry.thumbnail = thumbnailBytes(*item.item);
        if (item.item->thumbnailLost())
            m_problems.append(problem(item.item->path(),
                QStringLiteral("its thumbnail could not be read from the album file")));
        show.entries.append(entry);
    }

    const QString showPath = folder + QLatin1String(kShowFileName);
    const QByteArray bytes = encodeSlideShow(show);
    QString cause = writeWholeFile(showPath, bytes);
    if (!cause.isEmpty()) {
        m_detail = problem(showPath, cause);
        return ShowFileResult::NotWritten;
    }
    const QString pagePath = folder + QLatin1String(kShowPageName);
    cause = writeWholeFile(pagePath, slideShowHtml(show));
    if (!cause.isEmpty()) {
        QFile::remove(showPath);
        m_detail = problem(pagePath, cause);
        return ShowFileResult::NotWritten;
    }
    m_picker.addExtraFile(showPath);
    m_picker.addExtraFile(pagePath);
    m_show = show;
    m_showBytes = bytes.size();
    return ShowFileResult::Written;
}

QStringList SlideShowPackage::files() const
{
    QStringList files;
    for (const ChosenItem &item : m_picker.chosenItems()) {
        if (!files.contains(item.path) && QFileInfo(item.path).isFile())
            files.append(item.path);
    }
    for (const QString &path : m_picker.extraFiles()) {
        if (!files.contains(path))
            files.append(path);
    }
    return files;
}

QString SlideShowPackage::deliverToFolder(const QString &folder, bool replaceEarlier) const
{
    const QString target = QDir::cleanPath(folder) + u'/';
    if (target == m_picker.workingFolder())
        return problem(folder, QStringLiteral("is the working folder"));
    QList<PackageFile> package;
    for (const QString &source : files())
        package.append({ source, fileNameOf(source), QFileInfo(source).isExecutable() });
    return deliverPackage(folder, PackageKind::SlideShow, package, replaceEarlier);
}

CdProduct SlideShowPackage::cdProduct(const QString &discFolder) const
{
    CdProduct product;
    product.projectName = QStringLiteral("SlideShow");
    product.workingFolder = m_picker.workingFolder();
    product.autoRunProduct = AutoRunProduct::SlideShow;
    product.discFolder = discFolder;
    product.files = files();
    return product;
}

} // namespace glimmerix
