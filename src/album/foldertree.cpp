#include "foldertree.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <set>
#include <utility>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>

namespace glimmerix
{

namespace
{

class TreeWalker
{
public:
    TreeWalker(const std::function<bool(const QString &)> &wanted,
        const std::function<bool(const QString &)> &keepGoing)
        : m_wanted(wanted)
        , m_keepGoing(keepGoing)
    {
    }

    FolderTreeWalk run(const QByteArray &root)
    {
        char *resolved = ::realpath(root.constData(), nullptr);
        const int error = errno;
        m_rootReal = QByteArray(resolved);
        std::free(resolved);
        struct stat info {
        };
        if (m_rootReal.isEmpty() || ::stat(m_rootReal.constData(), &info) != 0
            || !S_ISDIR(info.st_mode)) {
            problem(root,
                m_rootReal.isEmpty() ? QStringLiteral("cannot be read: %1").arg(errorText(error))
                                     : QStringLiteral("not a folder"));
            return std::move(m_result);
        }
        m_visited.insert({ info.st_dev, info.st_ino });
        walk(root);
        return std::move(m_result);
    }

private:
    static QString errorText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

    void problem(const QByteArray &path, const QString &text)
    {
        m_result.problems.append({ QFile::decodeName(path), text });
    }

    bool stopWanted(const QByteArray &folder)
    {
        if (!m_result.cancelled && m_keepGoing && !m_keepGoing(QFile::decodeName(folder)))
            m_result.cancelled = true;
        return m_result.cancelled;
    }

    bool insideTree(const QByteArray &real) const
    {
        return real == m_rootReal
            || (real.startsWith(m_rootReal)
                && (m_rootReal.endsWith('/') || real.at(m_rootReal.size()) == '/'));
    }

    static bool nameIsValid(const QByteArray &path)
    {
        return QFile::encodeName(QFile::decodeName(path)) == path;
    }

    void walk(const QByteArray &folder)
    {
        if (stopWanted(folder))
            return;
        DIR *dir = ::opendir(folder.constData());
        if (!dir) {
            const int error = errno;
            // A folder that went away while the tree was read is simply not there.
            if (error != ENOENT)
                problem(folder, QStringLiteral("cannot be read: %1").arg(errorText(error)));
            return;
        }
        std::vector<QByteArray> names;
        while (const dirent *entry = ::readdir(dir)) {
            const QByteArray name(entry->d_name);
            if (name != "." && name != "..")
                names.push_back(name);
        }
        ::closedir(dir);
        // Byte order of UTF-8 names is the order of their characters.
        std::sort(names.begin(), names.end());
        const QByteArray prefix = folder.endsWith('/') ? folder : folder + '/';
        for (const QByteArray &name : names) {
            if (m_result.cancelled)
                return;
            entry(prefix + name, name.startsWith('.'));
        }
    }

    void entry(const QByteArray &path, bool hidden)
    {
        struct stat info {
        };
        if (::lstat(path.constData(), &info) != 0)
            return; // gone since the folder was listed
        if (S_ISLNK(info.st_mode)) {
            char *resolved = ::realpath(path.constData(), nullptr);
            if (!resolved) {
                if (errno == ELOOP)
                    problem(path, QStringLiteral("a link in a loop: not followed"));
                else if (::lstat(path.constData(), &info) == 0)
                    problem(path, QStringLiteral("a link to nothing: not followed"));
                return;
            }
            const QByteArray real(resolved);
            std::free(resolved);
            if (::stat(real.constData(), &info) != 0 || (hidden && S_ISDIR(info.st_mode)))
                return;
            if (!insideTree(real)) {
                if (S_ISDIR(info.st_mode) || S_ISREG(info.st_mode))
                    problem(path, QStringLiteral("a link out of the folder: not followed"));
                return;
            }
        }
        if (S_ISDIR(info.st_mode)) {
            if (hidden)
                return;
            if (!nameIsValid(path)) {
                problem(path, QStringLiteral("the folder name is not valid UTF-8: not read"));
                return;
            }
            if (!m_visited.insert({ info.st_dev, info.st_ino }).second) {
                problem(path, QStringLiteral("a link to a folder already read: not followed"));
                return;
            }
            walk(path);
            return;
        }
        if (!S_ISREG(info.st_mode))
            return;
        if (++m_filesSeen % 256 == 0 && stopWanted(path))
            return;
        const QString decoded = QFile::decodeName(path);
        if (!nameIsValid(path)) {
            problem(
                path, QStringLiteral("the file name is not valid UTF-8: an album cannot hold it"));
            return;
        }
        if (!m_wanted || m_wanted(decoded))
            m_result.files.append(decoded);
    }

    const std::function<bool(const QString &)> &m_wanted;
    const std::function<bool(const QString &)> &m_keepGoing;
    FolderTreeWalk m_result;
    QByteArray m_rootReal;
    std::set<std::pair<dev_t, ino_t>> m_visited;
    qint64 m_filesSeen = 0;
};

} // namespace

FolderTreeWalk walkFolderTree(const QString &root,
    const std::function<bool(const QString &path)> &wanted,
    const std::function<bool(const QString &folder)> &keepGoing)
{
    const QByteArray start = QFile::encodeName(QDir::cleanPath(QFileInfo(root).absoluteFilePath()));
    return TreeWalker(wanted, keepGoing).run(start);
}

} // namespace glimmerix
