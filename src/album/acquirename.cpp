#include "acquirename.h"

#include "core/settingssections.h"
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
                QStringLiteral("%1_%2%3")
                    .arg(naming.prefix)
                    .arg(i, 4, 10, QLatin1Char('0'))
                    .arg(extension));
            if (!QFileInfo::exists(candidate))
                break;
        }
        return candidate;
    }
    static const char monthLetters[] = "jafemrapmyjnjyagspocnvde";
    static const char yearMarks[] = "_#-^$";
    const int month = today.month() - 1;
    const int day = today.day();
    const int dayCode = (month + 1) * 100 + day;
    int counter = counters.readCounter(kAcquireCounterKey, 1);
    if (counters.readCounter(kAcquireDayKey, 0) != dayCode || counter < 1 || counter > 999)
        counter = 1;
    const QString name = QStringLiteral("%1%2%3%4%5")
                             .arg(QLatin1String(monthLetters + 2 * month, 2))
                             .arg(day, 2, 10, QLatin1Char('0'))
                             .arg(QLatin1Char(yearMarks[(today.year() - 1900 + 4) % 5]))
                             .arg(counter, 3, 10, QLatin1Char('0'))
                             .arg(extension);
    if (counter == 1)
        counters.writeCounter(kAcquireDayKey, dayCode);
    counters.writeCounter(kAcquireCounterKey, counter + 1);
    return joinPath(naming.folder, name);
}

} // namespace glimmerix
