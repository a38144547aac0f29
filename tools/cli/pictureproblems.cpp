#include "pictureproblems.h"

#include "album/importer.h"
#include "imaging/imagecodes.h"

#include <QDir>
#include <QFileInfo>

using namespace glimmerix;

QString pictureReadProblem(const QString &path)
{
    const QString problem = unusableFileProblem(path);
    return problem.isEmpty() ? QStringLiteral("the picture cannot be read") : problem;
}

QString pictureWriteProblem(int result, const QString &path)
{
    const QFileInfo file(path);
    switch (result) {
    case kWriteUnsuitable:
        return QStringLiteral("the picture cannot be saved in this format");
    case kWriteCannotCreate:
        if (file.isDir())
            return QStringLiteral("is a folder");
        if (!file.absoluteDir().exists())
            return QStringLiteral("no such folder");
        return QStringLiteral("the file cannot be created");
    default:
        return QStringLiteral("the picture was not written");
    }
}

bool isWritablePictureType(const QString &path)
{
    static const QStringList types = { QStringLiteral(".BMP"), QStringLiteral(".JPG"),
        QStringLiteral(".TIF"), QStringLiteral(".PCX"), QStringLiteral(".TGA") };
    return types.contains(path.right(4).toUpper());
}
