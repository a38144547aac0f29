#pragma once

#include <QString>

namespace glimmerix
{

// The name a file chosen in a save question is written under: `chosen` with "." + `suffix` added
// when it has no extension of its own. The question asked about the name as typed; when adding
// the extension names a file that exists, this asks about that file (message 50314, Yes/No) and
// returns an empty string when the user keeps it.
QString finalSaveName(const QString &chosen, const QString &suffix);

} // namespace glimmerix
