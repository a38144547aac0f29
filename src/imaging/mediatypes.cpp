#include "mediatypes.h"

#include <array>

namespace glimmerix
{

namespace
{

constexpr std::array<const char *, 8> kPictureExtensions
    = { ".BMP", ".TIF", ".PCX", ".TGA", ".JPG", ".PCD", ".FPX", ".QSF" };

bool isOneOf(const QString &extension, std::initializer_list<const char *> list)
{
    for (const char *candidate : list) {
        if (extension == QLatin1String(candidate))
            return true;
    }
    return false;
}

} // namespace

QString GetFileExtension(const QString &path)
{
    const qsizetype stop = std::max<qsizetype>(0, path.size() - 5);
    for (qsizetype i = path.size() - 1; i >= stop; --i) {
        const QChar c = path.at(i);
        if (c == u'.')
            return path.mid(i);
        if (c == u'/' || c == u'\\' || c == u':')
            return {};
    }
    return {};
}

QString upperExtension(const QString &path)
{
    return GetFileExtension(path).toUpper();
}

int IsPictureFile(const QString &path)
{
    const QString extension = upperExtension(path);
    for (const char *candidate : kPictureExtensions) {
        if (extension == QLatin1String(candidate))
            return 1;
    }
    return 0;
}

int IsVideoFile(const QString &path)
{
    return isOneOf(upperExtension(path), { ".AVI", ".MPEG", ".MPG", ".MOV" }) ? 1 : 0;
}

} // namespace glimmerix
