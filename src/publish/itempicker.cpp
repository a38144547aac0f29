#include "itempicker.h"

#include "platform/fillin.h"
#include "productfiles.h"
#include "workingfolder.h"

#include "core/messageids.h"
#include "imaging/imageconvert.h"
#include "imaging/jpegcodec.h"
#include "imaging/mediafile.h"
#include "imaging/mediareader.h"
#include "imaging/mediatypes.h"
#include "imaging/picturetypes.h"
#include "imaging/upright.h"
#include "platform/paths.h"
#include "platform/strings.h"

#include <QFile>
#include <QFileInfo>

namespace glimmerix
{

namespace
{

// Base allowance of a refresh, and what is added after the entries (page files and the like).
constexpr qint64 kEstimateBase = 119000;
constexpr qint64 kEstimateTail = 1272;
constexpr int kWorkingCopyQuality = 90;

// The extension of a media file: the text after the last '.' of its file name, upper-cased.
QString mediaExtension(const QString &path)
{
    const QString name = fileNameOf(path);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot + 1).toUpper();
}

// A still picture of today's types that the product cannot take as it is: one a browser cannot
// show (HEIF, AVIF, JPEG XL, camera RAW), or any of them in a slide show, whose player reads
// JPEG only. Such pictures always become an upright JPEG, whatever the convert flag says; the
// flag keeps its meaning for the album's own eight types.
bool becomesJpeg(const MediaFile &file, PickingMode mode)
{
    if (!file.isPicture() || file.isAlbumPictureType())
        return false;
    return mode == PickingMode::SlideShow || !browserShowsPicture(file.format);
}

qint64 itemRecordBytes(const AlbumItem &item)
{
    const ItemInfo *info = item.info();
    return qint64(info ? info->dataSize : 0) + qint64(sizeof(ItemInfo));
}

} // namespace

ItemPicker::ItemPicker(PickingMode mode, const QString &workingFolder)
    : m_mode(mode)
    , m_folder(workingFolder)
{
}

ItemPicker::~ItemPicker()
{
    if (!m_deleteOnClose)
        return;
    for (const QString &path : std::as_const(m_copies))
        QFile::remove(path);
    for (const QString &path : std::as_const(m_extra))
        QFile::remove(path);
    removeWorkingFolder(m_folder);
}

QString ItemPicker::entryName(const QString &itemName, const QStringList &taken)
{
    const qsizetype dot = itemName.lastIndexOf(u'.');
    const QString bare = dot < 0 ? itemName : itemName.left(dot);
    if (!taken.contains(bare, Qt::CaseInsensitive))
        return bare;
    for (int n = 1;; ++n) {
        const QString name = fillIn(QStringLiteral("%1_%2"), bare, n);
        if (!taken.contains(name, Qt::CaseInsensitive))
            return name;
    }
}

void ItemPicker::activate(const CAlbumDoc &document)
{
    if (m_activated) {
        // Next added the player allowance; it is added again when the user goes on.
        if (m_mode == PickingMode::SlideShow)
            m_estimate -= kSlideShowPlayerBytes;
        return;
    }
    m_header = document.header();
    QStringList taken;
    for (int i = 0; i < document.itemCount(); ++i) {
        AlbumItem *item = document.item(i);
        if (item == nullptr || !item->exists())
            continue;
        if (!item->attachmentPath().isEmpty())
            m_sound = true;
        if (m_mode == PickingMode::SlideShow
            && !identifyMediaFile(item->absolutePath()).isPicture())
            continue;
        const QString name = entryName(item->fileName(), taken);
        taken.append(name);
        m_all.append({ name, item });
    }
    m_convert = true;
    m_sizeText = QStringLiteral("0 ");
    m_activated = true;
}

QStringList ItemPicker::allNames() const
{
    QStringList names;
    for (const PickEntry &entry : m_all)
        names.append(entry.name);
    return names;
}

const PickEntry *ItemPicker::findEntry(const QString &name) const
{
    for (const PickEntry &entry : m_all) {
        if (entry.name == name)
            return &entry;
    }
    return nullptr;
}

bool ItemPicker::isChosen(const QString &name) const
{
    return m_chosen.contains(name, Qt::CaseInsensitive);
}

bool ItemPicker::add(const QList<int> &indexes, Progress *progress)
{
    QStringList added;
    for (int index : indexes) {
        if (index < 0 || index >= m_all.size() || isChosen(m_all.at(index).name))
            continue;
        m_chosen.append(m_all.at(index).name);
        added.append(m_all.at(index).name);
    }
    if (refresh(progress))
        return true;
    // Cancelled: the selected entries leave the chosen list again.
    for (int index : indexes) {
        if (index >= 0 && index < m_all.size())
            m_chosen.removeAll(m_all.at(index).name);
    }
    return false;
}

bool ItemPicker::addAll(Progress *progress)
{
    for (const PickEntry &entry : std::as_const(m_all)) {
        if (!isChosen(entry.name))
            m_chosen.append(entry.name);
    }
    if (refresh(progress))
        return true;
    m_chosen.clear();
    return false;
}

void ItemPicker::remove(const QList<int> &indexes)
{
    QList<int> sorted = indexes;
    std::sort(sorted.begin(), sorted.end(), std::greater<int>());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    for (int index : sorted) {
        if (index >= 0 && index < m_chosen.size())
            m_chosen.removeAt(index);
    }
    refresh(nullptr);
}

void ItemPicker::removeAll()
{
    m_chosen.clear();
    refresh(nullptr);
}

bool ItemPicker::toggleConvert(Progress *progress)
{
    m_convert = !m_convert;
    return refresh(progress);
}

QString ItemPicker::workingCopyPath(const PickEntry &entry) const
{
    const QString extension = mediaExtension(entry.item->absolutePath());
    if (becomesJpeg(identifyMediaFile(entry.item->absolutePath()), m_mode))
        // The slide show names every picture NAME.JPG in its show file.
        return m_folder + entry.name
            + (m_mode == PickingMode::SlideShow ? QStringLiteral(".JPG") : QStringLiteral(".jpg"));
    if (extension.isEmpty())
        return {};
    if (m_convert && IsPictureFile(entry.item->absolutePath()))
        return m_folder + entry.name + QStringLiteral(".JPG");
    return m_folder + entry.name + u'.' + extension;
}

void ItemPicker::noteCopy(const QString &path, qint64 itemBytes)
{
    if (!m_copies.contains(path))
        m_copies.append(path);
    m_estimate += QFileInfo(path).size() + itemBytes;
}

bool ItemPicker::makeWorkingCopy(const PickEntry &entry, const QString &copy)
{
    const QString source = entry.item->absolutePath();
    const MediaFile file = identifyMediaFile(source);
    const bool albumType = file.isAlbumPictureType();
    if ((m_convert && albumType && mediaExtension(source) != QLatin1String("JPG"))
        || becomesJpeg(file, m_mode)) {
        DecodeResult read = albumType ? loadPicture(source) : loadMediaPicture(file);
        makeUpright(read, source);
        OwnedBlock block(read.block);
        if (read.status != DecodeStatus::Ok) {
            m_problems.append(source + QStringLiteral(": ") + read.detail);
            return false;
        }
        if (ClassifyImage(block.handle()) != kClassTrueColor) {
            OwnedBlock wide(ExpandTo24Bit(block.handle()));
            if (!wide) {
                m_problems.append(source + QStringLiteral(": no 24-bit copy could be made"));
                return false;
            }
            block = std::move(wide);
        }
        const WriteResult written = saveJpegFile(copy, block.handle(), kWorkingCopyQuality);
        if (!written.ok()) {
            QFile::remove(copy);
            m_problems.append(copy + QStringLiteral(": ") + written.detail);
            return false;
        }
        return QFileInfo::exists(copy);
    }
    QString failedFile;
    const QString cause = copyProductFile(source, copy, &failedFile);
    if (!cause.isEmpty()) {
        m_problems.append(failedFile + QStringLiteral(": ") + cause);
        return false;
    }
    return QFileInfo::exists(copy);
}

bool ItemPicker::refresh(Progress *progress)
{
    m_problems.clear();
    if (m_chosen.isEmpty()) {
        m_sizeText = QStringLiteral("0 ");
        return true;
    }
    m_estimate = kEstimateBase;
    if (progress) {
        progress->setTitle(loadString(Message::kPreparingFilesTitle).mid(1));
        progress->setRange(int(m_chosen.size()));
        progress->setPosition(0);
        progress->show();
    }
    for (const QString &name : std::as_const(m_chosen)) {
        const PickEntry *entry = findEntry(name);
        const QString copy = entry ? workingCopyPath(*entry) : QString();
        if (copy.isEmpty())
            continue;
        const QString source = entry->item->absolutePath();
        const qint64 itemBytes = itemRecordBytes(*entry->item);
        if (progress)
            progress->setText(source);
        if (QFileInfo::exists(copy))
            noteCopy(copy, itemBytes); // an earlier copy of that name is adopted as it is
        else if (makeWorkingCopy(*entry, copy))
            noteCopy(copy, itemBytes);
        if (progress) {
            progress->step();
            progress->pumpEvents();
            if (progress->cancelled()) {
                progress->close();
                return false;
            }
        }
    }
    if (progress)
        progress->close();
    m_estimate += kEstimateTail;
    m_sizeText = QString::number(m_estimate / 1000) + u' ';
    return true;
}

bool ItemPicker::next()
{
    if (m_chosen.isEmpty()) {
        host().showMessage(Message::kNothingChosen);
        return false;
    }
    m_items.clear();
    for (const QString &name : std::as_const(m_chosen)) {
        const PickEntry *entry = findEntry(name);
        if (entry == nullptr)
            continue;
        ChosenItem chosen;
        chosen.item = entry->item;
        chosen.path = workingCopyPath(*entry);
        chosen.sound = entry->item->attachmentPath();
        m_items.append(chosen);
    }
    if (m_mode == PickingMode::SlideShow) {
        const QString player = m_folder + QStringLiteral("slideshow.exe");
        if (!QFileInfo::exists(player)) {
            const QString source = m_playerSource.isNull()
                ? bundledProgramPath(QLatin1String(kSlideShowPlayer))
                : m_playerSource;
            QString failedFile = QLatin1String(kSlideShowPlayer);
            const QString cause = source.isEmpty()
                ? QStringLiteral("not installed")
                : copyProductProgram(source, player, &failedFile);
            if (!cause.isEmpty()) {
                // copyProductFile removed a partial copy; a show without its player is no show.
                host().showMessage(Message::kSlideShowPlayerMissing,
                    { failedFile + QStringLiteral(": ") + cause });
                return false;
            }
        }
        m_estimate += kSlideShowPlayerBytes;
        addExtraFile(player);
    }
    return true;
}

void ItemPicker::addExtraFile(const QString &path)
{
    if (!m_extra.contains(path))
        m_extra.append(path);
}

QString ItemPicker::fieldText(const QString &path, int field) const
{
    const QString base = baseNameOf(path);
    const ItemInfo *info = nullptr;
    for (const PickEntry &entry : m_all) {
        if (entry.name.compare(base, Qt::CaseInsensitive) == 0)
            info = entry.item->info();
    }
    if (info == nullptr)
        return {};
    switch (field) {
    case 1:
        return fixedText(info->caption);
    case 2:
        return fixedText(info->keywords);
    case 3:
        return fixedText(info->description);
    }
    return {};
}

} // namespace glimmerix
