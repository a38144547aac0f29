#include "recentalbums.h"

#include "core/appsettings.h"
#include "platform/recentlyused.h"
#include "platform/settingsstore.h"

#include <QFileInfo>

#include <cstdio>

namespace glimmerix
{

namespace
{

QString recentKeyPath()
{
    return productKeyPath() + QStringLiteral("\\Recent Albums");
}

QString valueName(int i)
{
    return QStringLiteral("Album%1").arg(i + 1);
}

} // namespace

RecentAlbums::RecentAlbums(SettingsStore &store)
    : m_store(store)
{
}

QStringList RecentAlbums::paths() const
{
    QStringList paths;
    for (int i = 0; i < kLimit; ++i) {
        const QString path = m_store.readString(SettingsRoot::User, recentKeyPath(), valueName(i))
                                 .value_or(QString());
        if (!path.isEmpty() && !paths.contains(path))
            paths.append(path);
    }
    return paths;
}

void RecentAlbums::add(const QString &path)
{
    if (path.isEmpty())
        return;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList list = paths();
    list.removeAll(absolute);
    list.prepend(absolute);
    write(list.mid(0, kLimit));
    // The desktop's list is a courtesy to file managers: a failure there is noted, not shown.
    const QString problem = addToRecentlyUsed(recentlyUsedPath(), absolute,
        QStringLiteral("application/x-glimmerix-album"),
        { QString::fromLatin1(kProductName), QStringLiteral("'glimix %u'") });
    if (!problem.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(problem));
}

void RecentAlbums::remove(const QString &path)
{
    QStringList list = paths();
    list.removeAll(path);
    write(list);
}

void RecentAlbums::write(const QStringList &paths)
{
    SettingsBatch batch(m_store, SettingsRoot::User);
    for (int i = 0; i < kLimit; ++i)
        m_store.writeString(SettingsRoot::User, recentKeyPath(), valueName(i), paths.value(i));
    batch.commit();
}

} // namespace glimmerix
