#include "acquirename.h"

#include "core/settingssections.h"
#include "platform/fillin.h"
#include "platform/paths.h"

#include <QFileInfo>

namespace glimmerix
{

QString acquireExtension(int fileType)
{
    static const char *const extensions[] = { ".bmp", ".tif", ".pcx", ".tga", ".jpg" };
    if (fileType < 0 || fileType > 4)
        return {};
    return QString::fromLatin1(extensions[fileType]);
}

AcquireNaming acquireNamingFrom(const AcquireSettings &settings, const QString &photosFolder)
{
    return { settings.path.isEmpty() ? photosFolder : settings.path, settings.filePrefix,
        settings.fileType, settings.custPrefix != 0 };
}

QString nextAcquiredFileName(
    const AcquireNaming &naming, AcquireCounterStore &counters, const QDate &today)
{
    const QString extension = acquireExtension(naming.fileType);
    if (naming.customPrefix) {
        QString candidate;
        for (int i = 0; i <= 9999; ++i) {
            candidate = joinPath(naming.folder,
                fillIn(QStringLiteral("%1_%2%3"), naming.prefix,
                    QString::number(i).rightJustified(4, u'0'), extension));
            if (!QFileInfo::exists(candidate))
                return candidate;
        }
        return {}; // every number is taken: writing over the last one would lose a picture
    }
    static const char monthLetters[] = "jafemrapmyjnjyagspocnvde";
    static const char yearMarks[] = "_#-^$";
    const int month = today.month() - 1;
    const int day = today.day();
    const int dayCode = (month + 1) * 100 + day;
    int counter = counters.readCounter(kAcquireCounterKey, 1);
    if (counters.readCounter(kAcquireDayKey, 0) != dayCode || counter < 1 || counter > 999)
        counter = 1;
    // A name already there (the counter wrapped past 999, or the profile was reset the same day)
    // is passed over: the next free number is taken instead of writing over an earlier picture.
    for (int tried = 0; tried < 999; ++tried, counter = counter % 999 + 1) {
        const QString path = joinPath(naming.folder,
            fillIn(QStringLiteral("%1%2%3%4%5"), QLatin1String(monthLetters + 2 * month, 2),
                QString::number(day).rightJustified(2, u'0'),
                QLatin1Char(yearMarks[(today.year() - 1900 + 4) % 5]),
                QString::number(counter).rightJustified(3, u'0'), extension));
        if (QFileInfo::exists(path))
            continue;
        if (counter == 1 || counters.readCounter(kAcquireDayKey, 0) != dayCode)
            counters.writeCounter(kAcquireDayKey, dayCode);
        counters.writeCounter(kAcquireCounterKey, counter + 1);
        return path;
    }
    return {}; // all 999 names of the day are taken
}

} // namespace glimmerix
