#include "clipfacts.h"

#include "clipmodule.h"
#include "clipmoduleloader.h"
#include "imaging/mediafile.h"

#include <QFile>

namespace glimmerix
{

QDateTime clipCreationTime(const QString &path)
{
    const auto read
        = reinterpret_cast<GlimmerixClipCreationTime>(clipModuleSymbol(kClipCreationTimeEntryName));
    if (!read)
        return {};
    char text[64] = {};
    if (read(QFile::encodeName(path).constData(), text, int(sizeof text)) != 1)
        return {};
    // FFmpeg gives ISO 8601 in UTC, "2021-06-01T12:30:00.000000Z"; some muxers leave out the
    // fraction or the zone.
    QDateTime time = QDateTime::fromString(QString::fromLatin1(text).trimmed(), Qt::ISODateWithMs);
    if (!time.isValid())
        return {};
    if (time.timeSpec() == Qt::LocalTime)
        time.setTimeSpec(Qt::UTC);
    // A container that was never given a time often holds 0 (1904 or 1970); that is no date.
    if (time.date().year() < 1971)
        return {};
    return time.toUTC();
}

PictureFacts readMediaFacts(const QString &path)
{
    const MediaFile file = identifyMediaFile(path);
    if (file.isSound())
        return {};
    if (!file.isClip())
        return readPictureFacts(path);
    PictureFacts facts;
    facts.taken = clipCreationTime(path);
    facts.takenHasOffset = facts.taken.isValid();
    return facts;
}

} // namespace glimmerix
