#include "treeimport.h"

#include "albumdoc.h"
#include "albumitem.h"
#include "orderedimport.h"
#include "platform/fillin.h"
#include "platform/host.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <utility>

namespace glimmerix
{

namespace
{

// Files by size, with their hashes made when first wanted.
class ContentIndex
{
public:
    // The earlier file with the same bytes as `path` (of `size` bytes), or empty; `path` is
    // remembered either way.
    QString findOrAdd(const QString &path, qint64 size)
    {
        QStringList &sameSize = m_bySize[size];
        QString found;
        if (!sameSize.isEmpty()) {
            const QByteArray hash = hashOf(path);
            for (const QString &other : std::as_const(sameSize)) {
                if (!hash.isEmpty() && hashOf(other) == hash) {
                    found = other;
                    break;
                }
            }
        }
        if (found.isEmpty())
            sameSize.append(path);
        return found;
    }

private:
    QByteArray hashOf(const QString &path)
    {
        const auto known = m_hashes.constFind(path);
        if (known != m_hashes.cend())
            return *known;
        QByteArray hash;
        QFile file(path);
        QCryptographicHash sha(QCryptographicHash::Sha1);
        if (file.open(QIODevice::ReadOnly) && sha.addData(&file))
            hash = sha.result();
        m_hashes.insert(path, hash);
        return hash;
    }

    QHash<qint64, QStringList> m_bySize;
    QHash<QString, QByteArray> m_hashes;
};

// The progress window of a tree import: "N of M files", the folder of the file being added and
// the time left, worked out from the files added so far.
class TreeProgress final : public Progress
{
public:
    // `paths`: the files being added, in order (the position is an index into them).
    TreeProgress(Progress &shown, const QStringList &paths)
        : m_shown(shown)
        , m_paths(paths)
    {
        m_clock.start();
    }

    void setTitle(const QString &title) override { m_shown.setTitle(title); }
    // The text is made here from the position: the count, the folder and the time left.
    void setText(const QString &) override { }
    void setRange(int maximum) override
    {
        m_shown.setRange(maximum);
        m_clock.start();
    }
    void setPosition(int position) override
    {
        m_shown.setPosition(position);
        const QString folder
            = position < m_paths.size() ? QFileInfo(m_paths[position]).path() : QString();
        QString text = fillIn(QStringLiteral("%1 of %2 files\n%3"), position + 1, range(), folder);
        if (position >= 2) {
            const qint64 left = m_clock.elapsed() * (range() - position) / position / 1000;
            text += left >= 60 ? QStringLiteral("\nabout %1 min left").arg((left + 30) / 60)
                               : QStringLiteral("\nabout %1 s left").arg(left + 1);
        }
        m_shown.setText(text);
    }
    int position() const override { return m_shown.position(); }
    int range() const override { return m_shown.range(); }
    void setHideCancel(bool hide) override { m_shown.setHideCancel(hide); }
    void setKeepOpen(bool keepOpen) override { m_shown.setKeepOpen(keepOpen); }
    void show() override { m_shown.show(); }
    void close() override { m_shown.close(); }
    void pumpEvents() override { m_shown.pumpEvents(); }
    bool cancelled() const override { return m_shown.cancelled(); }

private:
    Progress &m_shown;
    const QStringList &m_paths;
    QElapsedTimer m_clock;
};

} // namespace

TreeImportPlan planTreeImport(
    const CAlbumDoc &document, const QStringList &files, const std::function<bool()> &keepGoing)
{
    TreeImportPlan plan;
    ContentIndex contents;
    for (int i = 0; i < document.itemCount(); ++i) {
        const QFileInfo file(document.item(i)->absolutePath());
        if (file.isFile())
            contents.findOrAdd(file.absoluteFilePath(), file.size());
    }
    for (const QString &path : files) {
        if (keepGoing && !keepGoing())
            break;
        if (document.containsAbsolutePath(path)) {
            ++plan.alreadyInAlbum;
            continue;
        }
        // A file that cannot be read or has gone is left to the adding, which names its cause.
        const QFileInfo file(path);
        const QString same = file.isFile() ? contents.findOrAdd(path, file.size()) : QString();
        if (same.isEmpty())
            plan.toAdd.append(path);
        else
            plan.sameContent.append({ path, same });
    }
    return plan;
}

QString TreeImportOutcome::summary() const
{
    QString text
        = fillIn(QStringLiteral("%1 added, %2 already in the album, %3 the same picture under "
                                "another path, %4 unreadable"),
            files.added, files.duplicates, sameContent.size(), files.failed);
    if (files.cancelled)
        text += QStringLiteral(", cancelled");
    return text;
}

TreeImportOutcome importFolderTree(CAlbumDoc &document, const QString &root, Progress &progress,
    const std::function<void(const QString &, int)> &added)
{
    TreeImportOutcome outcome;
    outcome.files.folder = QFileInfo(root).absoluteFilePath();
    const FolderTreeWalk walk = walkFolderTree(root, isMediaFileToAdd, [&](const QString &folder) {
        progress.setText(QStringLiteral("Reading folders\n%1").arg(folder));
        progress.pumpEvents();
        return !progress.cancelled();
    });
    outcome.walked = int(walk.files.size());
    for (const TreeProblem &problem : walk.problems) {
        ++outcome.files.failed;
        outcome.files.skipped.append({ problem.path, problem.problem });
    }
    if (walk.cancelled) {
        outcome.files.cancelled = true;
        return outcome;
    }
    int planned = 0;
    const TreeImportPlan plan = planTreeImport(document, walk.files, [&] {
        if (++planned % 64 == 0) {
            progress.setText(
                fillIn(QStringLiteral("Comparing %1 of %2 files"), planned, walk.files.size()));
            progress.pumpEvents();
        }
        return !progress.cancelled();
    });
    outcome.files.duplicates = plan.alreadyInAlbum;
    outcome.sameContent = plan.sameContent;
    if (progress.cancelled()) {
        outcome.files.cancelled = true;
        return outcome;
    }
    TreeProgress shown(progress, plan.toAdd);
    shown.setRange(int(plan.toAdd.size()));
    addFilesInOrder(document, plan.toAdd, shown, outcome.files, added);
    return outcome;
}

} // namespace glimmerix
