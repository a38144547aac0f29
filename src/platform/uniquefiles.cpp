#include "uniquefiles.h"

#include "paths.h"
#include "platform/fillin.h"

#include <QFileInfo>
#include <QTemporaryFile>

namespace glimmerix
{

QString numberedFileName(const QString &fileName, int number)
{
    const QFileInfo info(fileName);
    const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    return fillIn(QStringLiteral("%1 (%2)%3"), info.completeBaseName(), number, suffix);
}

QString freeFilePath(const QString &path)
{
    const auto taken = [](const QString &candidate) {
        const QFileInfo info(candidate);
        return info.exists() || info.isSymLink();
    };
    if (!taken(path))
        return path;
    const QFileInfo info(path);
    for (int number = 2;; ++number) {
        const QString candidate = joinPath(info.path(), numberedFileName(info.fileName(), number));
        if (!taken(candidate))
            return candidate;
    }
}

QString createPrivateFile(
    const QString &folder, const QString &stem, const QString &suffix, QString *error)
{
    QTemporaryFile file(joinPath(folder, stem + QStringLiteral("-XXXXXX") + suffix));
    file.setAutoRemove(false);
    if (!file.open()) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(folder, file.errorString());
        return {};
    }
    const QString path = file.fileName();
    file.close();
    return path;
}

} // namespace glimmerix
