#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <chrono>
#include <mutex>

// The service's pictures and users, in one folder:
//
//   ROOT/users/NAME/password        the user's salted password hash (one line)
//   ROOT/users/NAME/ID.jpg          a picture
//   ROOT/users/NAME/ID.small.jpg    its preview
//   ROOT/users/NAME/ID.txt          its file name and texts, one "key=value" line each
//   ROOT/users/NAME/.ID.*.part      a part while it is stored (see addPicture)
//
// User names are checked before they reach a path, and pictures are found by number only, so no
// request names a file of its own.

struct StoredPicture {
    int id = 0;
    QString filename;
    QString caption;
    QString keyword;
    QString descrip;
};

enum class StoreResult { Stored, Failed, Full };

class PictureStore
{
public:
    explicit PictureStore(const QString &root, qint64 quotaBytes);

    // Letters, digits, ".", "_", "-" and "@", 1 to 64 characters, not starting with a dot.
    static bool validUserName(const QString &name);

    // Adds or replaces a user; false when the name is invalid or the hash cannot be written.
    bool setPassword(const QString &user, const QString &password);
    // True when the user exists and the password is theirs. A successful check is remembered for
    // a few minutes (keyed by a keyed hash of name, password and the password file's device,
    // inode, size and times), so a batch of requests does not pay the slow hash each time, while
    // a password changed or a user removed by another process counts from the next request.
    bool checkPassword(const QString &user, const QString &password);

    QList<StoredPicture> pictures(const QString &user) const;
    // The file of picture `id` of `user` (its preview when `small`), empty when there is none.
    QString pictureFile(const QString &user, int id, bool small) const;
    StoreResult addPicture(const QString &user, const StoredPicture &texts, const QByteArray &jpeg);

    // Run at start: removes what a killed service left half-stored (temporary parts, a picture
    // or preview without its text, a text without its picture) and makes every file of the store
    // 0600 and every folder 0700, as the service writes them. False when something could not be
    // removed or changed.
    bool tidy();

private:
    QString userFolder(const QString &user) const;

    QString m_root;
    qint64 m_quotaBytes;
    mutable std::mutex m_mutex;
    QByteArray m_cacheSecret;
    QHash<QByteArray, std::chrono::steady_clock::time_point> m_verified;
};
