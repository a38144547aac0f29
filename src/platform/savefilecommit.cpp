#include "savefilecommit.h"

#include <QSaveFile>

namespace glimmerix
{

bool commitSaveFile(QSaveFile &file)
{
    // No cancelWriting() on failure: it would replace the system's reason with its own text.
    if (!file.flush() || file.error() != QFileDevice::NoError)
        return false;
    return file.commit();
}

} // namespace glimmerix
