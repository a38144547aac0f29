#include "launchericon.h"

#include "core/resourceids.h"
#include "platform/desktopentry.h"
#include "platform/strings.h"

#include <QFile>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QPixmap>
#include <QStandardPaths>

namespace glimmerix
{

namespace
{

// Without a desktop session Qt knows no icon theme; the freedesktop themes installed on the
// system still name the programs' icons.
void useDesktopIconTheme()
{
    static const bool done = [] {
        QStringList searchPaths = QIcon::themeSearchPaths();
        for (const QString &data :
            QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
            const QString icons = data + QStringLiteral("/icons");
            if (!searchPaths.contains(icons) && QFileInfo(icons).isDir())
                searchPaths << icons;
        }
        QIcon::setThemeSearchPaths(searchPaths);
        if (!QIcon::themeName().isEmpty() && QIcon::themeName() != QLatin1String("hicolor"))
            return true;
        for (const char *theme : { "Adwaita", "hicolor" }) {
            for (const QString &folder : QIcon::themeSearchPaths()) {
                if (QFileInfo::exists(
                        folder + u'/' + QLatin1String(theme) + QStringLiteral("/index.theme"))) {
                    QIcon::setThemeName(QLatin1String(theme));
                    return true;
                }
            }
        }
        return false;
    }();
    Q_UNUSED(done);
}

QIcon desktopEntryIcon(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const DesktopEntry entry = parseDesktopEntry(file.read(1 << 20));
    if (entry.icon.isEmpty())
        return {};
    if (entry.icon.startsWith(u'/'))
        return QFileInfo(entry.icon).isFile() ? QIcon(entry.icon) : QIcon();
    return QIcon::fromTheme(entry.icon);
}

} // namespace

QIcon launcherProgramIcon(const QString &path)
{
    useDesktopIconTheme();
    if (isDesktopEntryPath(path)) {
        const QIcon icon = desktopEntryIcon(path);
        if (!icon.isNull())
            return icon;
    }
    const QFileInfo file(path);
    if (file.isFile()) {
        if (file.isExecutable()) {
            const QIcon icon = QIcon::fromTheme(QStringLiteral("application-x-executable"));
            if (!icon.isNull())
                return icon;
        }
        const QIcon icon = QFileIconProvider().icon(file);
        if (!icon.isNull())
            return icon;
    }
    return QIcon(QPixmap::fromImage(bundleIcon(Resource::kProgramIcon)));
}

} // namespace glimmerix
