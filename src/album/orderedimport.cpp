#include "orderedimport.h"

#include "core/messageids.h"
#include "core/orderedwork.h"
#include "iconpicture.h"
#include "imaging/blockmemory.h"
#include "picturetexts.h"
#include "platform/deferredhost.h"
#include "platform/fillin.h"
#include "platform/strings.h"

#include <QElapsedTimer>

#include <atomic>
#include <memory>

namespace glimmerix
{

namespace
{

constexpr qint64 kTellViewsEveryMs = 250;

// What a worker makes of one file: the thumbnail, or why the file cannot become an item, with
// the messages that work would have shown. A file whose picture needs the user-interface thread
// (a shell icon) is left for that thread to add the ordinary way.
struct PreparedFile {
    OwnedBlock thumbnail;
    QString problem;
    std::unique_ptr<DeferredHost> messages;
    bool onCallingThread = false;
};

// `stop` is set when the batch was cancelled: a picture read under way then ends at its next
// Escape poll (its result is dropped anyway).
PreparedFile prepareFile(const QString &path, const std::atomic<bool> &stop)
{
    PreparedFile prepared;
    prepared.problem = unusableFileProblem(path);
    if (!prepared.problem.isEmpty())
        return prepared;
    prepared.messages = std::make_unique<DeferredHost>(&stop);
    const ThreadHostScope scope(*prepared.messages);
    prepared.thumbnail.reset(thumbnailForFile(path, &prepared.problem));
    if (prepared.thumbnail)
        fillTextsFromPicture(prepared.thumbnail.handle(), path);
    if (takeShellIconWanted()) {
        prepared = PreparedFile {};
        prepared.onCallingThread = true;
    }
    return prepared;
}

// Inserts a prepared file and counts it as addFileCounted does.
int addPrepared(
    CAlbumDoc &document, const QString &path, PreparedFile &prepared, AddFilesOutcome &outcome)
{
    if (prepared.onCallingThread)
        return addFileCounted(document, path, outcome);
    if (prepared.messages)
        prepared.messages->replay(host());
    int result = 0;
    if (prepared.problem.isEmpty() && prepared.thumbnail)
        result
            = document.insertItem(std::make_unique<AlbumItem>(prepared.thumbnail.release(), path));
    countAddResult(outcome, path, result, prepared.problem);
    return result;
}

} // namespace

void addFilesInOrder(CAlbumDoc &document, const QStringList &paths, Progress &progress,
    AddFilesOutcome &outcome, const std::function<void(const QString &, int)> &added, int workers)
{
    CAlbumDoc::ChangeBatch batch(document);
    QElapsedTimer sinceViewsTold;
    sinceViewsTold.start();
    const auto total = paths.size();
    std::atomic<bool> stopping { false };
    const auto stopWanted = [&] {
        progress.pumpEvents();
        if (progress.cancelled()) {
            outcome.cancelled = true;
            stopping = true;
        }
        return outcome.cancelled;
    };
    runOrdered<PreparedFile>(
        int(total), workers, [&](int index) { return prepareFile(paths[index], stopping); },
        [&](int index, PreparedFile &&prepared) {
            if (stopWanted())
                return false;
            const QString &path = paths[index];
            progress.setText(fillIn(QStringLiteral("%1 (%2/%3)"), path, index + 1, total));
            progress.setPosition(index);
            const int result = addPrepared(document, path, prepared, outcome);
            if (added)
                added(path, result);
            if (sinceViewsTold.elapsed() >= kTellViewsEveryMs) {
                batch.tellViewsNow();
                sinceViewsTold.start();
            }
            return true;
        },
        [&] { return !stopWanted(); });
    // The workers' readers could not touch the status bar; it ends on the idle text as after a
    // picture read one by one.
    host().setStatusText(0, loadString(Message::kIdleStatus));
}

} // namespace glimmerix
