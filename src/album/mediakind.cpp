#include "mediakind.h"

namespace glimmerix
{

int GetMediaKind(const QString &path)
{
    if (GetFileExtension(path).isEmpty())
        return int(MediaKind::Picture);
    return int(mediaKindOf(path));
}

MediaKind mediaKindOf(const QString &path)
{
    if (IsPictureFile(path))
        return MediaKind::Picture;
    const QString extension = upperExtension(path);
    // QuickTime clips go the AVI way: FFmpeg reads their first frame just the same.
    if (extension == QLatin1String(".AVI") || extension == QLatin1String(".MOV"))
        return MediaKind::Avi;
    if (extension == QLatin1String(".WAV"))
        return MediaKind::Wave;
    if (extension == QLatin1String(".MPG") || extension == QLatin1String(".MPEG"))
        return MediaKind::Mpeg;
    if (extension == QLatin1String(".MP3"))
        return MediaKind::Mp3;
    return MediaKind::Other;
}

} // namespace glimmerix
