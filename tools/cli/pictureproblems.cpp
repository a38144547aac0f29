#include "pictureproblems.h"

#include "album/importer.h"

#include <QStringList>

using namespace glimmerix;

QString pictureReadProblem(const QString &path)
{
    const QString problem = unusableFileProblem(path);
    return problem.isEmpty() ? QStringLiteral("the picture cannot be read") : problem;
}

bool isWritablePictureType(const QString &path)
{
    static const QStringList types = { QStringLiteral(".BMP"), QStringLiteral(".JPG"),
        QStringLiteral(".TIF"), QStringLiteral(".PCX"), QStringLiteral(".TGA") };
    return types.contains(path.right(4).toUpper());
}
