#include "productcommandsupport.h"

#include "albumcommandsupport.h"
#include "clicommand.h"

#include "cdout/cdoutput.h"
#include "core/appsettings.h"
#include "publish/autorunwriter.h"

#include <QFileInfo>

std::optional<QList<int>> chosenItems(const QString &command, const std::optional<QString> &items,
    const CAlbumDoc &doc, bool (*wanted)(const AlbumItem &item))
{
    if (items)
        return parseItemList(command, *items, doc.itemCount());
    QList<int> indexes;
    for (int i = 0; i < doc.itemCount(); ++i) {
        if (wanted(*doc.item(i)))
            indexes.append(i);
    }
    return indexes;
}

QList<int> pickerEntryIndexes(const ItemPicker &picker, const CAlbumDoc &doc,
    const QList<int> &indexes, QStringList &problems)
{
    QList<int> entries;
    for (int index : indexes) {
        const AlbumItem *item = doc.item(index);
        qsizetype found = -1;
        for (qsizetype e = 0; e < picker.allEntries().size(); ++e) {
            if (picker.allEntries().at(e).item == item)
                found = e;
        }
        if (found >= 0)
            entries.append(int(found));
        else if (!item->exists())
            problems.append(item->absolutePath() + QStringLiteral(": no such file"));
        else
            problems.append(item->absolutePath() + QStringLiteral(": not a still picture"));
    }
    return entries;
}

bool deliverProductToDisc(const CdProduct &product, const DiscTarget &target, qint64 capacityBlocks)
{
    registerDiscComponent();
    const DiscTargetChooser previousChooser
        = setDiscTargetChooser([target](const DiscSummary &) { return target; });
    const qint64 previousCapacity = setDiscCapacityBlocks(capacityBlocks);
    CdOutput cd(appSettings().store(), standardCdPlaces());
    const bool recorded = cd.available() && cd.deliver(product) && lastDiscRecord().written;
    setDiscTargetChooser(previousChooser);
    setDiscCapacityBlocks(previousCapacity);
    if (!cd.available())
        cliFail(target.path, QStringLiteral("no CD output is available"));
    return recorded;
}

bool packageFolderAccepted(const QString &folder, PackageKind kind, bool replace)
{
    const PackageFolder found = examinePackageFolder(folder, kind);
    if (found.state == FolderState::Refused) {
        cliFail(folder, found.cause);
        return false;
    }
    if (found.state == FolderState::EarlierPackage && !replace) {
        cliFail(folder,
            QStringLiteral("holds an earlier %1; give --replace-package to replace it")
                .arg(packageKindName(kind)));
        return false;
    }
    return true;
}

QString discTargetFile(const DiscTarget &target)
{
    const QString stdio = QStringLiteral("stdio:");
    if (target.kind == DiscTarget::Kind::Writer && target.path.startsWith(stdio))
        return QFileInfo(target.path.mid(stdio.size())).absoluteFilePath();
    return target.path;
}

CliOption discFolderOption(const QString &command, QString &target)
{
    return cliValue("--disc-folder", [command, &target](const QString &value) {
        target = value;
        if (acceptDiscFolderName(target))
            return true;
        cliUsageError(
            command, QStringLiteral("a disc folder name cannot hold any of . ? : * < > / \\ | \""));
        return false;
    });
}
