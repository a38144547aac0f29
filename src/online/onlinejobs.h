#pragma once

#include "onlineclient.h"

#include <QList>
#include <QString>

#include <atomic>
#include <functional>

namespace glimmerix
{

// The download and upload batches of the online photo service. Each runs on a worker thread
// (see runOnWorker) and reports through host(), which the worker's caller sets to a deferred
// host, so messages show in order once the batch has ended.

// Called before each entry: its number from 1 and its name.
using EntryReport = std::function<void(int number, const QString &name)>;

// The message a failed request shows: `fileMessage` for a local file, 50567 for a redirect
// refused, 50568 for a reply too long, 50569 for a picture that is none, 50554 otherwise.
int onlineFailureMessage(const OnlineOutcome &outcome, int fileMessage);

// Downloads the records at `rows` (in that order) into `folder` as "%i_%s" names; a name already
// taken there gets " (2)", " (3)", ... before its extension, and message 50566 lists those at
// the end. A stored record's `filename` becomes the local path and `downloaded` is set. Stops
// when `cancel` is set and at the first failed request (message 50554 or 50564). Returns the
// number stored.
int downloadPictures(OnlineClient &client, QList<RemoteImage> &records, const QList<int> &rows,
    const QString &folder, const std::atomic<bool> &cancel, const EntryReport &report);

// One album picture to upload with its texts.
struct UploadItem {
    QString path;
    QString caption;
    QString description;
    QString keywords;
};

struct UploadOutcome {
    bool serverFound = true;
    int status = 0; // the last reply code
    int stored = 0; // pictures the service took (reply code 0)
    // The service refused the login (code 4): the upload dialog stays open for a new try.
    bool keepDialogOpen() const { return status == 4; }
};

// Uploads `items` in order: looks up the server with `lookupPath`, converts pictures that are not
// JPEG into a private temporary folder ("holiday.jpg" for "Holiday.BMP"), skips files over
// kMaxUploadBytes (50557) and acts on each reply code (0 and 3, 5, 6 go on; 1 and codes out of
// range show 50559; 2 shows 50560 and stops; 4 shows 50558 and stops).
UploadOutcome uploadPictures(OnlineClient &client, const QString &lookupPath,
    const QList<UploadItem> &items, const std::atomic<bool> &cancel, const EntryReport &report);

// The temporary JPEG name of an upload converted from `path`, in `folder`: the file name without
// its extension, lower-cased, plus ".jpg".
QString convertedUploadPath(const QString &folder, const QString &path);

} // namespace glimmerix
