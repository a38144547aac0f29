#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct burn_source;

namespace glimmerix
{

class Progress;

// A data disc being put together: folders and the files that go into them, recorded as an ISO
// 9660 image with Joliet and Rock Ridge names (long and non-ASCII names kept). The files are only
// named here; they are read when the image is made, block by block, so memory does not grow
// with the product.
class DiscLayout
{
public:
    static constexpr qint64 kBlockSize = 2048;

    struct Entry {
        QString discPath; // "Photos/page1.html", no leading '/'
        QString source; // the file on disk; empty for a folder
    };

    explicit DiscLayout(QString volumeId = QStringLiteral("GLIMMERIX"));

    // Starts an empty disc.
    void clear();
    // Makes `folder` ("A/B", '\\' counts as '/') and returns its clean disc path ("" for the top).
    QString addFolder(const QString &folder);
    // Puts `source` into disc folder `folder` under its own name; a file of that name there is
    // replaced. False (with the cause in `error`) when `source` is no readable file.
    bool addFile(const QString &source, const QString &folder, QString *error = nullptr);

    const QList<Entry> &entries() const { return m_entries; }
    // Blocks the image will take, from the file sizes as they are now (each file rounded up to a
    // whole block, plus the volume descriptors and directory records).
    qint64 estimatedBlocks() const;

    // The image as a byte stream, for an image file or a writer. nullptr with `error` set when
    // a file has gone or cannot be read. The caller frees it with freeImageSource.
    struct burn_source *createSource(QString *error) const;
    // Writes the image to `target` atomically: into a temporary file beside it, renamed at the
    // end, so a failure or Cancel leaves nothing new under `target`. An image larger than
    // `capacityBytes` (when >= 0) is not begun. `progress` (may be nullptr) counts megabytes.
    // `imageBytes` receives the image's size once known.
    enum class Outcome { Written, TooLarge, Cancelled, Failed };
    Outcome writeImage(const QString &target, qint64 capacityBytes, Progress *progress,
        QString *error, qint64 *imageBytes = nullptr) const;

private:
    QString m_volumeId;
    QList<Entry> m_entries;
};

// Drops the caller's reference to a stream from DiscLayout::createSource.
void freeImageSource(struct burn_source *source);

// The first queued problem of the image library at "SORRY" or worse (empty when none), so a file
// that vanished while the image was made is noticed instead of being recorded as zeros.
QString takeImageLibraryProblem();

} // namespace glimmerix
