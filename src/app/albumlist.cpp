#include "albumlist.h"

#include "album/albummanagement.h"
#include "platform/paths.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace glimmerix
{

namespace
{

const QLatin1String kAlbumSuffix(".gmx");

QString withoutAlbumSuffix(QString name)
{
    if (name.endsWith(kAlbumSuffix, Qt::CaseInsensitive))
        name.chop(kAlbumSuffix.size());
    return name;
}

} // namespace

AlbumListModel buildAlbumList(const QString &albumsFolder, const QString &untitled,
    const QString &externalPath, const QString &currentName)
{
    AlbumListModel model;
    const QDir folder(albumsFolder);
    const QStringList files
        = folder.entryList({ QStringLiteral("*.gmx"), QStringLiteral("*.GMX") }, QDir::Files);
    for (const QString &file : files)
        model.entries.append(withoutAlbumSuffix(file));
    model.entries.removeDuplicates();
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(model.entries.begin(), model.entries.end(),
        [&](const QString &a, const QString &b) { return collator.compare(a, b) < 0; });
    model.entries.append(untitled);
    if (!externalPath.isEmpty())
        model.entries.append(
            withoutAlbumSuffix(QFileInfo(externalPath).fileName()) + QLatin1Char('*'));

    if (currentName.isEmpty()) {
        model.selected = 0;
        const QString &entry = model.entries.first();
        model.currentName
            = entry == untitled ? entry : joinPath(albumsFolder, entry + kAlbumSuffix);
        return model;
    }
    model.currentName = currentName;
    QString wanted = currentName == untitled
        ? currentName
        : withoutAlbumSuffix(QFileInfo(currentName).fileName());
    // An album from another folder is listed by its starred entry.
    if (!externalPath.isEmpty()
        && QFileInfo(currentName).absoluteFilePath() == QFileInfo(externalPath).absoluteFilePath())
        wanted += QLatin1Char('*');
    model.selected = std::max(0, int(model.entries.indexOf(wanted)));
    return model;
}

QString albumPathForEntry(const QString &entry, const QString &albumsFolder,
    const QString &untitled, const QString &externalPath)
{
    if (entry == untitled)
        return entry;
    if (entry.endsWith(QLatin1Char('*')) && !externalPath.isEmpty())
        return externalPath;
    return albumFileForEntry(albumsFolder, entry);
}

QStringList newWindowArguments(const QString &entry, const QString &albumsFolder,
    const QString &untitled, const QString &externalPath)
{
    if (entry == untitled)
        return {};
    return { albumPathForEntry(entry, albumsFolder, untitled, externalPath) };
}

} // namespace glimmerix
