#include "relink.h"

#include "albumdoc.h"
#include "albumformat.h"
#include "albumitem.h"
#include "albumundo.h"
#include "replaceitempath.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QUndoStack>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace glimmerix
{

namespace
{

qint64 recordSize(qint64 size)
{
    return std::min<qint64>(size, kMaxStoredFileSize);
}

QString fileNameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

} // namespace

int RelinkPlan::proposed() const
{
    return int(std::count_if(entries.cbegin(), entries.cend(),
        [](const RelinkEntry &entry) { return entry.isProposal(); }));
}

int RelinkPlan::ambiguous() const
{
    return int(std::count_if(entries.cbegin(), entries.cend(),
        [](const RelinkEntry &entry) { return entry.candidates.size() > 1 || entry.shared; }));
}

int RelinkPlan::notFound() const
{
    return int(std::count_if(entries.cbegin(), entries.cend(),
        [](const RelinkEntry &entry) { return entry.candidates.isEmpty(); }));
}

QStringList RelinkPlan::lines() const
{
    QStringList lines;
    for (const RelinkEntry &entry : entries) {
        if (entry.isProposal())
            lines << QStringLiteral("%1 -> %2").arg(entry.oldPath, entry.candidates.first());
        else if (entry.shared)
            lines << QStringLiteral("%1: ambiguous: %2 fits another item too")
                         .arg(entry.oldPath, entry.candidates.first());
        else if (entry.candidates.isEmpty())
            lines << QStringLiteral("%1: not found").arg(entry.oldPath);
        else
            lines << QStringLiteral("%1: ambiguous: %2")
                         .arg(entry.oldPath, entry.candidates.join(QStringLiteral(" | ")));
    }
    return lines;
}

QList<RelinkEntry> planRelink(const QList<MissingItem> &missing, const QList<RelinkFile> &files)
{
    QHash<QString, QList<const RelinkFile *>> byName;
    for (const RelinkFile &file : files)
        byName[fileNameOf(file.path)].append(&file);
    QList<RelinkEntry> entries;
    entries.reserve(missing.size());
    for (const MissingItem &item : missing) {
        QList<const RelinkFile *> matches;
        for (const RelinkFile *file : byName.value(item.fileName)) {
            if (recordSize(file->size) == item.size)
                matches.append(file);
        }
        if (matches.size() > 1) {
            QList<const RelinkFile *> sameTime;
            for (const RelinkFile *file : std::as_const(matches)) {
                if (file->modified == item.fileTime)
                    sameTime.append(file);
            }
            if (sameTime.size() == 1)
                matches = sameTime;
        }
        RelinkEntry entry { item.index, item.path, {} };
        for (const RelinkFile *file : std::as_const(matches))
            entry.candidates.append(file->path);
        entries.append(entry);
    }
    QHash<QString, int> claims;
    for (const RelinkEntry &entry : std::as_const(entries)) {
        if (entry.candidates.size() == 1)
            ++claims[entry.candidates.first()];
    }
    for (RelinkEntry &entry : entries)
        entry.shared = entry.candidates.size() == 1 && claims.value(entry.candidates.first()) > 1;
    return entries;
}

QList<MissingItem> missingItems(const CAlbumDoc &document)
{
    QList<MissingItem> missing;
    for (int i = 0; i < document.itemCount(); ++i) {
        const AlbumItem *item = document.item(i);
        if (QFileInfo::exists(item->absolutePath()))
            continue;
        const ItemInfo *info = item->info();
        missing.append({ i, item->absolutePath(), item->fileName(), info ? info->fileSize : -1,
            info ? info->fileTime : -1 });
    }
    return missing;
}

RelinkPlan findMovedFiles(const CAlbumDoc &document, const QString &root,
    const std::function<bool(const QString &folder)> &keepGoing)
{
    RelinkPlan plan;
    const QList<MissingItem> missing = missingItems(document);
    if (missing.isEmpty())
        return plan;
    QSet<QString> names;
    for (const MissingItem &item : missing)
        names.insert(item.fileName);
    const FolderTreeWalk walk = walkFolderTree(
        root, [&](const QString &path) { return names.contains(fileNameOf(path)); }, keepGoing);
    plan.problems = walk.problems;
    plan.cancelled = walk.cancelled;
    QList<RelinkFile> files;
    files.reserve(walk.files.size());
    for (const QString &path : walk.files) {
        const QFileInfo file(path);
        if (file.isFile())
            files.append({ path, file.size(), file.lastModified().toSecsSinceEpoch() });
    }
    plan.entries = planRelink(missing, files);
    return plan;
}

int applyRelink(CAlbumDoc &document, const QList<RelinkEntry> &entries)
{
    const CAlbumDoc::ChangeBatch batch(document);
    int relinked = 0;
    for (const RelinkEntry &entry : entries) {
        if (entry.isProposal() && relinkItemPath(document, entry.index, entry.candidates.first()))
            ++relinked;
    }
    return relinked;
}

int applyRelinkAsStep(CAlbumDoc &document, const QList<RelinkEntry> &entries, const QString &text)
{
    std::vector<std::pair<int, std::unique_ptr<AlbumItem>>> relinked;
    for (const RelinkEntry &entry : entries) {
        if (!entry.isProposal())
            continue;
        if (std::unique_ptr<AlbumItem> item
            = relinkedItem(document, entry.index, entry.candidates.first()))
            relinked.emplace_back(entry.index, std::move(item));
    }
    if (relinked.empty())
        return 0;
    const CAlbumDoc::ChangeBatch batch(document);
    QUndoStack &stack = document.undoStack();
    stack.beginMacro(text);
    for (auto &[index, item] : relinked)
        stack.push(new ReplaceItemCommand(document, index, std::move(item)));
    stack.endMacro();
    return int(relinked.size());
}

} // namespace glimmerix
