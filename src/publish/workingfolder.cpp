#include "workingfolder.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace glimmerix
{

namespace
{
const QString kFolderPrefix = QStringLiteral("glimix-");
}

QString makeWorkingFolder(QString *error)
{
    QByteArray pattern
        = QFile::encodeName(QDir::tempPath() + u'/' + kFolderPrefix + QStringLiteral("XXXXXX"));
    // mkdtemp makes the folder with mode 0700 and a name nobody could have taken before.
    if (mkdtemp(pattern.data()) == nullptr) {
        if (error)
            *error = QDir::tempPath() + QStringLiteral(": ")
                + QString::fromLocal8Bit(std::strerror(errno));
        return {};
    }
    return QFile::decodeName(pattern) + u'/';
}

void removeWorkingFolder(const QString &folder)
{
    if (folder.isEmpty())
        return;
    const QFileInfo info(folder.endsWith(u'/') ? folder.chopped(1) : folder);
    const bool ours = info.absolutePath() == QDir::tempPath()
        && info.fileName().startsWith(kFolderPrefix) && !info.isSymLink();
    if (ours)
        QDir(info.absoluteFilePath()).removeRecursively();
    else
        QDir().rmdir(info.absoluteFilePath());
}

} // namespace glimmerix
