// Reading and writing the album file. Item blocks and bitmaps are read strictly in sequence;
// every length taken from the file is checked against what the file can still hold before
// anything is allocated, so a hostile or truncated file gives a partial album, never a crash.
// A load from a file reads only the records: each item's bitmap stays in the file (kept open)
// until it is wanted, and a save copies the unread bitmaps from there.

#include "albumfile.h"

#include "albumdoc.h"

#include "albumsave.h"
#include "albumsource.h"
#include "core/folders.h"
#include "core/messageids.h"
#include "platform/host.h"
#include "platform/paths.h"
#include "platform/strings.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <QIODevice>

#include <algorithm>
#include <cstring>
#include <limits>
#include <type_traits>
#include <utility>
#include <vector>

#include <sys/uio.h>

#include <cerrno>
#include <climits>

namespace glimmerix
{

namespace
{

bool s_loadShowsProgress = false;

enum class Version { V11, V12, V13, Unknown };

Version versionOf(const AlbumFileHeader &header)
{
    const QByteArray text(
        header.version, qsizetype(strnlen(header.version, sizeof header.version)));
    if (text == kAlbumVersion11)
        return Version::V11;
    if (text == kAlbumVersion12)
        return Version::V12;
    if (text == kAlbumVersion13)
        return Version::V13;
    return Version::Unknown;
}

qint64 recordSize(Version version)
{
    switch (version) {
    case Version::V11:
        return sizeof(ItemInfoV11);
    case Version::V12:
        return sizeof(ItemInfo);
    case Version::V13:
        return kItemBlockSize;
    case Version::Unknown:
        break;
    }
    return 0;
}

bool readExactly(QIODevice &device, void *into, qint64 size)
{
    return device.read(static_cast<char *>(into), size) == size;
}

// The next item record, widened for "1.1" files. False on a short read.
bool readItemInfo(QIODevice &device, Version version, ItemInfo &info)
{
    if (version == Version::V11) {
        ItemInfoV11 old {};
        if (!readExactly(device, &old, sizeof old))
            return false;
        info = widenItemInfo(old);
        return true;
    }
    return readExactly(device, &info, sizeof info);
}

// Bytes the rest of the file can still supply; thumbnails may not claim more than that in total.
qint64 readBudget(QIODevice &device)
{
    if (device.isSequential())
        return std::numeric_limits<qint64>::max() / 2;
    return std::max<qint64>(0, device.size() - device.pos());
}

// Whether `info`'s bitmap may be taken (and takes it from the budget). A bitmap no larger than a
// real thumbnail is always allowed (a truncated file still gives its items); a larger one only
// when the rest of the file can hold it.
bool bitmapAllowed(const ItemInfo &info, qint64 &budget)
{
    if (info.dataSize <= kMaxThumbnailDataSize)
        return true;
    if (qint64(info.dataSize) > budget)
        return false;
    budget -= info.dataSize;
    return true;
}

// A thumbnail block for `info`, its bitmap still zero; 0 when bitmapAllowed refuses it.
BlockHandle allocateThumbnail(const ItemInfo &info, qint64 &budget)
{
    qint64 left = budget;
    if (!bitmapAllowed(info, left))
        return 0;
    const BlockHandle block = blockAlloc(0, std::size_t(info.dataSize) + sizeof(ItemInfo));
    if (!isBlockHandle(block))
        return 0;
    budget = left;
    std::memcpy(blockLock(block), &info, sizeof info);
    return block;
}

// Reads the blocks' bitmaps one after the other from the device's position; a short read leaves
// the rest zero. A file is read with preadv straight into the blocks, many blocks per call,
// instead of through the device's own buffer; the device ends where the bitmaps end. Gives, per
// block, whether its bitmap was read whole (false for a short read or a missing block).
template<typename Blocks> std::vector<bool> readBitmaps(QIODevice &device, const Blocks &blocks)
{
    std::vector<bool> whole(std::size_t(blocks.size()), false);
    std::vector<iovec> parts;
    std::vector<std::size_t> owners; // the block index of each part
    parts.reserve(whole.size());
    owners.reserve(whole.size());
    std::size_t index = 0;
    for (const auto &entry : blocks) {
        const std::size_t own = index++;
        BlockHandle block = 0;
        if constexpr (std::is_same_v<std::decay_t<decltype(entry)>, BlockHandle>)
            block = entry;
        else
            block = entry->thumbnail();
        auto *info = static_cast<ItemInfo *>(blockLock(block));
        if (!info)
            continue;
        const std::size_t room = blockSize(block) - sizeof(ItemInfo);
        const std::size_t wanted = std::min<std::size_t>(info->dataSize, room);
        whole[own] = wanted == 0;
        if (wanted > 0) {
            parts.push_back({ info + 1, wanted });
            owners.push_back(own);
        }
    }
    auto *file = qobject_cast<QFileDevice *>(&device);
    const int handle = file && !device.isSequential() ? file->handle() : -1;
    if (handle < 0) {
        for (std::size_t i = 0; i < parts.size(); ++i) {
            const qint64 wanted = qint64(parts[i].iov_len);
            whole[owners[i]]
                = device.read(static_cast<char *>(parts[i].iov_base), wanted) == wanted;
        }
        return whole;
    }
    qint64 position = device.pos();
    std::size_t next = 0; // the first part not yet read whole
    while (next < parts.size()) {
        const int count = int(std::min<std::size_t>(parts.size() - next, IOV_MAX));
        const ssize_t got = ::preadv(handle, &parts[next], count, position);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        position += got;
        // Step over the parts now full; a part read in half continues at its rest.
        for (std::size_t left = std::size_t(got); left > 0;) {
            iovec &part = parts[next];
            if (left < part.iov_len) {
                part.iov_base = static_cast<char *>(part.iov_base) + left;
                part.iov_len -= left;
                break;
            }
            left -= part.iov_len;
            ++next;
        }
    }
    device.seek(position);
    for (std::size_t i = 0; i < next; ++i)
        whole[owners[i]] = true;
    return whole;
}

// How many item records to read. An item count the file cannot hold is damage: when the header's
// data-area offset falls on a record boundary inside the file, it tells how many records were
// written (a hostile or garbled count); otherwise records are read until the file ends.
std::uint32_t recordsToRead(QIODevice &device, const AlbumFileHeader &header, qint64 record)
{
    if (device.isSequential() || record <= 0)
        return header.itemCount;
    const qint64 room = std::max<qint64>(0, device.size() - qint64(sizeof header));
    if (qint64(header.itemCount) <= room / record)
        return header.itemCount;
    const qint64 written = qint64(header.dataStart) - qint64(sizeof header);
    if (written >= 0 && written <= room && written % record == 0)
        return std::uint32_t(std::min<qint64>(written / record, header.itemCount));
    return header.itemCount;
}

void seekIfPossible(QIODevice &device, qint64 position)
{
    if (!device.isSequential() && position >= device.pos())
        device.seek(std::min(position, device.size()));
}

QString readTrailer(QIODevice &device)
{
    // The last copy destination is one folder path; a longer tail is not ours to keep, and
    // anything else there is not a folder a save could write back (an album of no items is its
    // trailer alone, which must still read as an album).
    QByteArray line = device.readLine(kTrailerOnlyAlbumLimit + 2);
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return isLastCopyFolderText(line) ? QString::fromUtf8(line) : QString();
}

std::uint32_t saturated32(quint64 value)
{
    return value > 0xFFFFFFFFu ? 0xFFFFFFFFu : std::uint32_t(value);
}

} // namespace

bool CAlbumDoc::loadShowsProgress()
{
    return s_loadShowsProgress;
}

void CAlbumDoc::setLoadShowsProgress(bool on)
{
    s_loadShowsProgress = on;
}

bool CAlbumDoc::store(QIODevice &device, QString *problem) const
{
    std::vector<AlbumItem *> chosen;
    if (m_singleItemStoring) {
        if (AlbumItem *current = item(m_currentItem))
            chosen.push_back(current);
    } else {
        for (int index = 0; index < itemCount(); ++index)
            chosen.push_back(item(index));
    }
    // Bitmaps still in an album file that has changed since it was opened cannot be copied: say
    // so before anything is written. Items loaded together share one file, checked once.
    const AlbumFileSource *checked = nullptr;
    for (const AlbumItem *entry : chosen) {
        const AlbumFileSource *source = entry->thumbnailSource().get();
        const bool readable = source
            ? source == checked || (!source->failed() && source->unchanged())
            : !entry->thumbnailLost();
        if (!readable) {
            if (problem)
                *problem = AlbumFileSource::changedReason();
            return false;
        }
        checked = source ? source : checked;
    }
    bool ok = true;
    const auto write = [&](const void *data, qint64 size) {
        ok = ok && device.write(static_cast<const char *>(data), size) == size;
    };
    // Unread bitmaps that follow each other in their album file are copied as one run.
    AlbumFileSource *runSource = nullptr;
    qint64 runAt = 0;
    qint64 runSize = 0;
    const auto copyRun = [&] {
        if (ok && runSize > 0 && !runSource->copyTo(device, runAt, runSize)) {
            ok = false;
            if (problem && runSource->failed())
                *problem = AlbumFileSource::changedReason();
        }
        runSize = 0;
    };

    if (!chosen.empty()) {
        quint64 dataTotal = 0;
        for (const AlbumItem *entry : chosen)
            dataTotal += entry->info()->dataSize;
        const quint64 dataStart = 272 + quint64(kItemBlockSize) * chosen.size();
        AlbumFileHeader header = makeAlbumHeader();
        std::memcpy(header.caption, m_header.caption, sizeof header.caption);
        header.caption[sizeof header.caption - 1] = 0;
        header.itemCount = std::uint32_t(chosen.size());
        header.dataStart = saturated32(dataStart);
        header.totalSize = saturated32(dataStart + dataTotal);
        write(&header, sizeof header);

        quint64 offset = 0;
        for (AlbumItem *entry : chosen) {
            ItemInfo *info = entry->editableInfo();
            info->dataOffset = saturated32(offset);
            info->pathIsRelative = 0;
            offset += info->dataSize;
            write(info, sizeof *info);
            AttachmentRecord attachment {};
            setFixedText(attachment.name, entry->attachmentName());
            setFixedText(attachment.path, entry->attachmentPath());
            write(&attachment, sizeof attachment);
        }
        for (const AlbumItem *entry : chosen) {
            const std::uint32_t dataSize = entry->info()->dataSize;
            if (entry->thumbnailInFile()) {
                AlbumFileSource *source = entry->thumbnailSource().get();
                if (source != runSource || entry->thumbnailOffset() != runAt + runSize) {
                    copyRun();
                    runSource = source;
                    runAt = entry->thumbnailOffset();
                }
                runSize += dataSize;
                continue;
            }
            copyRun();
            const QByteArray bitmap = entry->thumbnailBitmap();
            write(bitmap.constData(), bitmap.size());
            // A block shorter than its dataSize claims is padded so the file stays consistent.
            static const char zeros[4096] = {};
            for (std::size_t missing = dataSize - std::size_t(bitmap.size()); missing > 0;) {
                const std::size_t part = std::min(missing, sizeof zeros);
                write(zeros, qint64(part));
                missing -= part;
            }
        }
        copyRun();
    }
    const QByteArray trailer = m_lastCopyDestination.toUtf8();
    write(trailer.constData(), trailer.size());
    return ok;
}

void CAlbumDoc::load(QIODevice &device)
{
    WaitCursor wait;
    m_loadReport = {};
    AlbumFileHeader header {};
    const qint64 got = device.read(reinterpret_cast<char *>(&header), sizeof header);
    if (got < qint64(sizeof header) || header.magic != kAlbumMagic) {
        const QByteArray head(reinterpret_cast<const char *>(&header), std::max<qint64>(got, 0));
        if (refuseNonAlbum(device, head))
            return;
        if (head.startsWith(QByteArray::fromRawData("PALM", 4))) {
            // An album cut inside its header: nothing of it can be read.
            m_loadReport.damaged = true;
            m_loadReport.declared = got >= 12 ? header.itemCount : 0;
            reportDamage();
        }
        return;
    }
    m_header = header;
    m_header.caption[sizeof m_header.caption - 1] = 0;
    m_albumCaption = fixedText(m_header.caption);
    const Version version = versionOf(header);
    if (version == Version::Unknown) {
        host().showMessage(Message::kUnknownVersion, { fixedText(header.version) },
            MessageIcon::Warning, MessageButtons::Ok);
        m_header = makeAlbumHeader();
        m_albumCaption.clear();
        m_loadReport.refused = true;
        Q_EMIT newAlbumRequested();
        return;
    }
    readItems(device, header);
}

bool CAlbumDoc::refuseNonAlbum(QIODevice &device, const QByteArray &head)
{
    QByteArray start = head;
    if (start.size() == qint64(sizeof(AlbumFileHeader)))
        start += device.read(kTrailerOnlyAlbumLimit + 1 - start.size());
    const qint64 size = device.isSequential() ? start.size() : device.size();
    if (looksLikeAlbum(start, size))
        return false;
    // Like an unknown version: say so and start a new album, so that Save cannot write over it.
    m_loadReport.refused = true;
    host().showMessage(
        Message::kNotAnAlbum, { m_loadPath }, MessageIcon::Warning, MessageButtons::Ok);
    Q_EMIT newAlbumRequested();
    return true;
}

void CAlbumDoc::reportDamage()
{
    host().showMessage(Message::kAlbumDamaged,
        { m_loadPath, QString::number(m_loadReport.recovered),
            QString::number(m_loadReport.declared) },
        MessageIcon::Warning, MessageButtons::Ok);
}

void CAlbumDoc::readItems(QIODevice &device, const AlbumFileHeader &header)
{
    const Version version = versionOf(header);
    const std::uint32_t records = recordsToRead(device, header, recordSize(version));
    const qint64 dataStart = qint64(sizeof header) + qint64(records) * recordSize(version);
    qint64 budget = readBudget(device);
    // From a file, bitmaps stay in it until wanted; those the file cuts short are read now.
    auto *file = qobject_cast<QFileDevice *>(&device);
    const std::shared_ptr<AlbumFileSource> source
        = file && !device.isSequential() ? AlbumFileSource::adopt(file->handle()) : nullptr;
    qint64 bitmapAt = dataStart; // where the next item's bitmap lies
    std::size_t leftInFile = 0; // the first items, whose bitmaps stay in the file
    qint64 leftEnd = dataStart; // where their bitmaps end
    ChangeBatch batch(*this);
    const std::size_t before = std::size_t(itemCount());
    std::unique_ptr<Progress> progress;
    bool escapeSeen = false;
    bool endedEarly = records < header.itemCount;
    const QString photos = photosFolder();
    FolderDriveKinds folderKinds;

    for (std::uint32_t i = 0; i < records; ++i) {
        if (!escapeSeen && host().escapePressed())
            escapeSeen = true;
        ItemInfo info {};
        if (!readItemInfo(device, version, info)) {
            endedEarly = true;
            break;
        }
        QString path = fixedText(info.path);
        if (info.pathIsRelative == 1) {
            const QString absolute = joinPath(photos, path);
            // A path that is too long written out in full stays relative, to the user folder
            // (which holds the photos folder), rather than being cut.
            path = setFixedText(info.path, absolute)
                ? absolute
                : QDir(userFolder()).relativeFilePath(absolute);
            setFixedText(info.path, path);
            info.pathIsRelative = 0;
        }
        const bool inFile
            = source && leftInFile == i && bitmapAt + qint64(info.dataSize) <= source->size();
        const BlockHandle block = inFile ? 0 : allocateThumbnail(info, budget);
        if (inFile ? !bitmapAllowed(info, budget) : !isBlockHandle(block)) {
            endedEarly = true;
            break;
        }
        if (s_loadShowsProgress) {
            if (!progress) {
                progress = host().createProgress();
                progress->setTitle(loadString(Message::kLoadingAlbum));
                progress->setRange(int(std::min<std::uint32_t>(header.itemCount, INT32_MAX)));
                progress->show();
            }
            progress->setText(path);
            progress->setPosition(int(i));
        }
        auto newItem = inFile ? std::make_unique<AlbumItem>(info, source, bitmapAt, path, false)
                              : std::make_unique<AlbumItem>(block, path, false);
        bitmapAt += info.dataSize;
        if (inFile) {
            ++leftInFile;
            leftEnd = bitmapAt;
        }
        AlbumItem *inserted = newItem.get();
        const MediaFileFacts facts = mediaFileFactsOf(inserted->absolutePath(), folderKinds);
        inserted->setExists(!escapeSeen && facts.exists);
        if (m_items.insertCounted(std::move(newItem), -1, facts.drive, facts.size)
            != InsertResult::Inserted) {
            endedEarly = true; // a path twice in one file: the album ends before the second
            break;
        }
        if (version == Version::V13) {
            AttachmentRecord attachment {};
            if (!readExactly(device, &attachment, sizeof attachment)) {
                endedEarly = true;
                break;
            }
            inserted->setAttachmentName(fixedText(attachment.name));
            inserted->setAttachmentPath(fixedText(attachment.path));
        }
        if (progress) {
            progress->pumpEvents();
            if (progress->cancelled()) {
                progress->close();
                m_currentItem = -1;
                Q_EMIT currentItemChanged(-1);
                batch.tellViewsNow();
                setModified(false);
                m_loadCancelled = true;
                return;
            }
        }
    }

    // The bitmaps left to read follow those left in the file; an album cut short still finds
    // its bitmaps at the start of the data area.
    if (endedEarly || leftInFile > 0)
        seekIfPossible(device, leftEnd);
    std::vector<AlbumItem *> toRead;
    for (std::size_t i = before + leftInFile; i < std::size_t(itemCount()); ++i)
        toRead.push_back(item(int(i)));
    const std::vector<bool> whole = readBitmaps(device, toRead);
    int cutThumbnails = 0;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        toRead[i]->setThumbnailCut(!whole[i]);
        cutThumbnails += whole[i] ? 0 : 1;
    }

    if (progress)
        progress->close();
    else
        s_loadShowsProgress = true;

    if (endedEarly) {
        // The trailer follows the whole data area, which the header's total locates. It lies no
        // earlier than the end of what was read and of the records the header declares: a file
        // that ends before the items do has no last copy folder (what lies there is items).
        const qint64 recordsEnd
            = qint64(sizeof header) + qint64(header.itemCount) * recordSize(version);
        if (!device.isSequential() && header.totalSize >= std::max(device.pos(), recordsEnd)
            && header.totalSize <= device.size()) {
            device.seek(header.totalSize);
            m_lastCopyDestination = readTrailer(device);
        }
    } else {
        m_lastCopyDestination = readTrailer(device);
    }
    m_currentItem = -1;
    Q_EMIT currentItemChanged(-1);
    // The items read are one change; what was read is the album as saved.
    batch.tellViewsNow();
    setModified(false);

    m_loadReport.declared = header.itemCount;
    m_loadReport.recovered = itemCount() - cutThumbnails;
    m_loadReport.cutThumbnails = cutThumbnails;
    m_loadReport.damaged = endedEarly || cutThumbnails > 0;
    if (m_loadReport.damaged)
        reportDamage();
}

RawAlbum::~RawAlbum()
{
    for (BlockHandle block : std::as_const(thumbnails)) {
        if (isBlockHandle(block))
            blockFree(block);
    }
}

RawAlbum::RawAlbum(RawAlbum &&other) noexcept
    : header(std::exchange(other.header, {}))
    , thumbnails(std::exchange(other.thumbnails, {}))
    , attachments(std::exchange(other.attachments, {}))
{
}

RawAlbum readAlbumRaw(QIODevice &device)
{
    WaitCursor wait;
    RawAlbum album;
    if (!readExactly(device, &album.header, sizeof album.header)
        || album.header.magic != kAlbumMagic) {
        album.header = {};
        return album;
    }
    const Version version = versionOf(album.header);
    if (version == Version::Unknown)
        return album;
    qint64 budget = readBudget(device);
    // Never more entries than the file has room for records.
    const qint64 fits = budget / recordSize(version);
    const qint64 count = std::min<qint64>(album.header.itemCount, fits);
    album.thumbnails.resize(count, 0);
    album.attachments.resize(count, AttachmentRecord {});
    qint64 read = 0;
    for (; read < count; ++read) {
        ItemInfo info {};
        if (!readItemInfo(device, version, info))
            break;
        const BlockHandle block = allocateThumbnail(info, budget);
        if (!isBlockHandle(block))
            break;
        album.thumbnails[read] = block;
        if (version == Version::V13
            && !readExactly(device, &album.attachments[read], sizeof(AttachmentRecord)))
            break;
    }
    if (read < count)
        seekIfPossible(device,
            qint64(sizeof(AlbumFileHeader)) + qint64(album.header.itemCount) * recordSize(version));
    readBitmaps(device, album.thumbnails);
    return album;
}

bool readAlbumRawFile(const QString &path, RawAlbum &album)
{
    // "NEW" is how a request for a new album passes through the open path; it names no file.
    if (QFileInfo(path).fileName() == QLatin1String("NEW"))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::ExistingOnly))
        return false;
    RawAlbum read = readAlbumRaw(file);
    std::swap(album.header, read.header);
    std::swap(album.thumbnails, read.thumbnails);
    std::swap(album.attachments, read.attachments);
    return true;
}

} // namespace glimmerix
