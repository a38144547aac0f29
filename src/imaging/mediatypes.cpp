#include "mediatypes.h"

#include <array>

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

int GetMediaKind(const QString &path)
{
    const QString extension = upperExtension(path);
    if (extension == QLatin1String(".AVI"))
        return kMediaAvi;
    if (extension == QLatin1String(".WAV"))
        return kMediaWave;
    if (isOneOf(extension, { ".MPG", ".MPEG" }))
        return kMediaMpeg;
    if (extension == QLatin1String(".MP3"))
        return kMediaMp3;
    // The picture list ends with an empty entry, so a path without an extension is a picture.
    if (extension.isEmpty() || IsPictureFile(path))
        return kMediaPicture;
    return kMediaOther;
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
