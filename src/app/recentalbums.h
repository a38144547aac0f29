#pragma once

#include <QString>
#include <QStringList>

namespace glimmerix
{

class SettingsStore;

// The albums opened last, newest first, at most kLimit, kept in the user settings (key
// "Recent Albums", values Album1 ... Album10) so every window and the next start see them. An
// album added is also put on the desktop's list of recently used files.
class RecentAlbums
{
public:
    static constexpr int kLimit = 10;

    explicit RecentAlbums(SettingsStore &store);

    QStringList paths() const;
    // Puts `path` first (an absolute path; once only), drops what falls past the limit.
    void add(const QString &path);
    void remove(const QString &path);

private:
    void write(const QStringList &paths);

    SettingsStore &m_store;
};

} // namespace glimmerix
