#pragma once

#include "albumdoc.h"
#include "importer.h"
#include "platform/host.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace glimmerix
{

// Adds the existing files `paths` (absolute) at the end of the album in their order and counts
// them in `outcome`, as addFileCounted does one by one. Worker threads (`workers`, 0: one per
// core) make the thumbnails and read the file facts a few files ahead; this thread inserts the
// items in order, shows each file's messages when its turn comes and keeps `progress` going (the
// text and position of the file being added, events pumped while it waits). Cancel stops before
// the next file: the album then holds exactly the files added before it. Views are told of the
// new items every 250 ms, so the grid fills as they come. `added`, when given, hears each file's
// addFile result (1, -2 or 0) right after it.
void addFilesInOrder(CAlbumDoc &document, const QStringList &paths, Progress &progress,
    AddFilesOutcome &outcome, const std::function<void(const QString &, int)> &added = {},
    int workers = 0);

} // namespace glimmerix
