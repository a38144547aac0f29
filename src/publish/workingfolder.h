#pragma once

#include <QString>

namespace glimmerix
{

// Where a product's working copies and made files live while its wizard runs: a private folder
// for this run only (mode 0700 under the system temporary folder, made with mkdtemp), so no
// other user can read, plant or replace files there. The one place that decides it; a CD
// application that stages files itself will be chosen here. Ends with '/'; empty when no folder
// could be made (`error` then says why).
QString makeWorkingFolder(QString *error = nullptr);

// Removes a folder made by makeWorkingFolder with whatever is left in it (files a cancelled run
// made but never listed). Any other folder is only removed when empty.
void removeWorkingFolder(const QString &folder);

} // namespace glimmerix
