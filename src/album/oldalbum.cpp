#include "oldalbum.h"

#include "albumdoc.h"
#include "core/folders.h"
#include "core/messageids.h"
#include "importer.h"
#include "platform/host.h"
#include "platform/paths.h"
#include "platform/strings.h"

#include <QFile>
#include <QFileInfo>

#include <cstring>

namespace glimmerix
{

namespace
{

QString fieldText(const QByteArray &record, int offset, int size)
{
    return fixedText(record.constData() + offset, std::size_t(size));
}

std::uint32_t readUint32(const QByteArray &record, int offset)
{
    std::uint32_t value = 0;
    std::memcpy(&value, record.constData() + offset, sizeof value);
    return value;
}

// Adds a record whose file is missing: the item is made from the stand-in picture and shows as
// missing. Returns the insert result.
int addMissing(CAlbumDoc &document, const QString &path)
{
    const BlockHandle thumbnail = thumbnailForFile(path);
    if (!isBlockHandle(thumbnail))
        return 0;
    return document.insertItem(std::make_unique<AlbumItem>(thumbnail, path, false));
}

} // namespace

OldAlbumConversion convertOldAlbum(CAlbumDoc &document, const QString &oldPath)
{
    OldAlbumConversion outcome;
    // The New command's way: unsaved changes of the open album are offered for saving first.
    if (!document.saveModified())
        return outcome;
    document.onNewDocument();
    QFile file(oldPath);
    if (!file.open(QIODevice::ReadOnly))
        return outcome;
    const QByteArray header = file.read(kOldAlbumHeaderSize);
    if (header.size() < kOldAlbumHeaderSize)
        return outcome;
    QString caption = fieldText(header, 16, 128);
    document.itemText(-1, caption, true);
    const std::uint32_t count = readUint32(header, 8);
    for (std::uint32_t i = 0; i < count; ++i) {
        const QByteArray record = file.read(kOldAlbumRecordSize);
        if (record.size() < kOldAlbumRecordSize)
            break;
        const QString path = fieldText(record, 8, 128);
        QString description = fieldText(record, 136, 128);
        int result = 0;
        if (QFileInfo::exists(absoluteItemPath(path))) {
            result = document.addFile(path, -1);
        } else {
            const MessageAnswer answer = host().showMessage(Message::kMissingFileQuestion, { path },
                MessageIcon::Question, MessageButtons::YesNoCancel);
            if (answer == MessageAnswer::Cancel)
                break;
            if (answer == MessageAnswer::No)
                continue;
            result = addMissing(document, path);
        }
        if (result == 1)
            document.itemText(document.itemCount() - 1, description, true);
    }
    outcome.items = document.itemCount();
    if (outcome.items == 0)
        return outcome;

    const QString baseName = QFileInfo(oldPath).completeBaseName();
    makeFolderIfMissing(albumsFolder());
    const QString target = joinPath(albumsFolder(), baseName + QStringLiteral(".gmx"));
    if (QFileInfo::exists(target)
        && host().showMessage(Message::kConvertedAlbumExists, { target }, MessageIcon::Question,
               MessageButtons::YesNo)
            != MessageAnswer::Yes)
        return outcome;
    if (document.onSaveDocument(target))
        outcome.savedPath = target;
    return outcome;
}

QStringList convertOldAlbums(CAlbumDoc &document, const QStringList &oldPaths)
{
    QStringList saved;
    std::unique_ptr<Progress> progress = host().createProgress();
    progress->setTitle(loadString(Message::kAddingFiles));
    progress->setRange(int(oldPaths.size()));
    progress->show();
    int index = 0;
    for (const QString &path : oldPaths) {
        progress->setText(QFileInfo(path).fileName());
        progress->setPosition(index++);
        progress->pumpEvents();
        if (progress->cancelled())
            break;
        if (!QFileInfo(path).isFile())
            continue;
        const OldAlbumConversion outcome = convertOldAlbum(document, path);
        if (!outcome.savedPath.isEmpty())
            saved.append(outcome.savedPath);
    }
    progress->close();
    return saved;
}

} // namespace glimmerix
