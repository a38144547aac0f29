#include "mediakind.h"

#include <QStringList>

QString upperExtension(const QString &path)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot < 0 || dot < path.size() - 5 || path.indexOf(u'/', dot) >= 0)
        return {};
    return path.mid(dot).toUpper();
}

MediaKind mediaKindOf(const QString &path)
{
    static const QStringList pictures = { QStringLiteral(".BMP"), QStringLiteral(".TIF"),
        QStringLiteral(".PCX"), QStringLiteral(".TGA"), QStringLiteral(".JPG"),
        QStringLiteral(".PCD"), QStringLiteral(".FPX"), QStringLiteral(".QSF") };
    const QString extension = upperExtension(path);
    if (pictures.contains(extension))
        return MediaKind::Picture;
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
