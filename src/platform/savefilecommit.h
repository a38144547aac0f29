#pragma once

class QSaveFile;

namespace glimmerix
{

// Finishes a QSaveFile so that the target is replaced only when every byte reached the file.
// QSaveFile keeps the last part of the data in its buffer and commit() ignores a failure to write
// it out, so a full disk would leave an empty or cut file in place of the old one. On false the
// file's errorString() says why (the system's text, e.g. "No space left on device") and the
// target is left as it was; the temporary file goes when `file` is destroyed.
bool commitSaveFile(QSaveFile &file);

} // namespace glimmerix
