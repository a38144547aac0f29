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

MediaKind mediaKindOf(const MediaFile &file)
{
    if (file.isPicture())
        return MediaKind::Picture;
    // The album's clip and sound names decide as they always have.
    return file.byExtension ? mediaKindOf(file.path) : MediaKind::Other;
}

QString iconOnlyReason(const MediaFile &file)
{
    switch (mediaKindOf(file)) {
    case MediaKind::Picture:
    case MediaKind::Avi:
    case MediaKind::Mpeg:
        return {};
    case MediaKind::Wave:
    case MediaKind::Mp3:
        return QStringLiteral("a sound");
    case MediaKind::Other:
        break;
    }
    // Clips known by their content show their first frame; sounds show the sound picture.
    if (file.isClip())
        return {};
    if (file.isSound())
        return QStringLiteral("a sound");
    return QStringLiteral("not a picture, clip or sound the album reads");
}

} // namespace glimmerix
