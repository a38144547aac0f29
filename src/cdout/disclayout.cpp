// libburn's C++ declarations live in a namespace of their own; libisofs then brings its copy of
// the stream type, with the same layout, for the global one used here.
// The image library's header needs the fixed-width integer types before it.
#include <stdint.h>
#include <sys/types.h>

#define LIBISOFS_WITHOUT_LIBBURN
#include <libisofs/libisofs.h>

#include "disclayout.h"

#include "imaging/picturestatus.h"
#include "platform/host.h"

#include <QDir>
#include <QFileDevice>
#include <QFileInfo>

#include <cstdlib>
#include <memory>
#include <mutex>

namespace glimmerix
{

namespace
{

// Rounds `bytes` up to whole blocks.
qint64 blocksFor(qint64 bytes)
{
    return (bytes + DiscLayout::kBlockSize - 1) / DiscLayout::kBlockSize;
}

// The image library reads names as UTF-8 whatever the locale, queues its problems for us and
// prints nothing; a file it cannot read stops the image.
void initialiseImageLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] {
        iso_init();
        iso_set_local_charset(const_cast<char *>("UTF-8"), 0);
        iso_set_msgs_severities(
            const_cast<char *>("SORRY"), const_cast<char *>("NEVER"), const_cast<char *>(""));
        iso_set_abort_severity(const_cast<char *>("SORRY"));
    });
}

QString cleanDiscPath(const QString &folder)
{
    QStringList parts = QString(folder).replace(u'\\', u'/').split(u'/', Qt::SkipEmptyParts);
    parts.removeAll(QStringLiteral("."));
    return parts.join(u'/');
}

QString parentOf(const QString &discPath)
{
    const qsizetype cut = discPath.lastIndexOf(u'/');
    return cut < 0 ? QString() : discPath.left(cut);
}

QString libraryError(int code)
{
    const char *text = iso_error_to_msg(code);
    return text ? QString::fromUtf8(text) : QStringLiteral("error %1").arg(code);
}

struct ImageParts {
    IsoImage *image = nullptr;
    IsoWriteOpts *options = nullptr;
    ~ImageParts()
    {
        if (options)
            iso_write_opts_free(options);
        if (image)
            iso_image_unref(image);
    }
};

} // namespace

void freeImageSource(struct burn_source *source)
{
    // Reference counted: a writer that took the stream holds its own reference.
    if (--source->refcount > 0)
        return;
    source->free_data(source);
    std::free(source);
}

QString takeImageLibraryProblem()
{
    QString first;
    int code = 0;
    int image = 0;
    QByteArray text(ISO_MSGS_MESSAGE_LEN, '\0');
    char severity[80] = {};
    while (iso_obtain_msgs(const_cast<char *>("SORRY"), &code, &image, text.data(), severity) > 0) {
        if (first.isEmpty())
            first = QString::fromUtf8(text.constData()).trimmed();
    }
    return first;
}

DiscLayout::DiscLayout(QString volumeId)
    : m_volumeId(std::move(volumeId))
{
}

void DiscLayout::clear()
{
    m_entries.clear();
}

QString DiscLayout::addFolder(const QString &folder)
{
    const QString path = cleanDiscPath(folder);
    if (path.isEmpty())
        return path;
    addFolder(parentOf(path));
    for (const Entry &entry : std::as_const(m_entries)) {
        if (entry.discPath == path)
            return path;
    }
    m_entries.append({ path, QString() });
    return path;
}

bool DiscLayout::addFile(const QString &source, const QString &folder, QString *error)
{
    const QFileInfo info(source);
    if (!info.isFile() || !info.isReadable()) {
        if (error)
            *error = source + QStringLiteral(": no such file");
        return false;
    }
    const QString parent = addFolder(folder);
    const QString path = parent.isEmpty() ? info.fileName() : parent + u'/' + info.fileName();
    for (Entry &entry : m_entries) {
        if (entry.discPath == path) {
            entry.source = info.absoluteFilePath();
            return true;
        }
    }
    m_entries.append({ path, info.absoluteFilePath() });
    return true;
}

qint64 DiscLayout::estimatedBlocks() const
{
    // System area and volume descriptors, path tables and root records of the three name sets.
    qint64 blocks = 16 + 4 + 8 + 3;
    qint64 records = 0;
    for (const Entry &entry : m_entries) {
        records += 3 * (34 + 2 * entry.discPath.size() + 124); // each name set, Rock Ridge fields
        if (entry.source.isEmpty())
            blocks += 3; // a folder's own record block in each name set
        else
            blocks += blocksFor(QFileInfo(entry.source).size());
    }
    return blocks + blocksFor(records);
}

struct burn_source *DiscLayout::createSource(QString *error) const
{
    initialiseImageLibrary();
    takeImageLibraryProblem(); // what an earlier image left behind
    ImageParts parts;
    int result = iso_image_new(m_volumeId.toUtf8().constData(), &parts.image);
    if (result < 0) {
        *error = libraryError(result);
        return nullptr;
    }
    iso_tree_set_follow_symlinks(parts.image, 1);
    QHash<QString, IsoDir *> folders;
    folders.insert(QString(), iso_image_get_root(parts.image));
    for (const Entry &entry : m_entries) {
        IsoDir *parent = folders.value(parentOf(entry.discPath));
        const QByteArray name = entry.discPath.mid(entry.discPath.lastIndexOf(u'/') + 1).toUtf8();
        if (entry.source.isEmpty()) {
            IsoDir *dir = nullptr;
            result = iso_tree_add_new_dir(parent, name.constData(), &dir);
            folders.insert(entry.discPath, dir);
        } else {
            if (!QFileInfo(entry.source).isFile()) {
                *error = entry.source + QStringLiteral(": the file has gone");
                return nullptr;
            }
            result = iso_tree_add_new_node(parts.image, parent, name.constData(),
                QFile::encodeName(entry.source).constData(), nullptr);
        }
        if (result < 0) {
            *error = (entry.source.isEmpty() ? entry.discPath : entry.source) + QStringLiteral(": ")
                + libraryError(result);
            return nullptr;
        }
    }
    result = iso_write_opts_new(&parts.options, 0);
    if (result >= 0) {
        iso_write_opts_set_iso_level(parts.options, 2);
        iso_write_opts_set_rockridge(parts.options, 1);
        iso_write_opts_set_joliet(parts.options, 1);
        iso_write_opts_set_joliet_longer_paths(parts.options, 1);
        iso_write_opts_set_joliet_long_names(parts.options, 1);
        iso_write_opts_set_allow_deep_paths(parts.options, 1);
        // Four megabytes of image kept ahead of the consumer, however large the product.
        iso_write_opts_set_fifo_size(parts.options, 2048);
    }
    struct burn_source *source = nullptr;
    if (result >= 0)
        result = iso_image_create_burn_source(parts.image, parts.options, &source);
    if (result < 0) {
        *error = libraryError(result);
        return nullptr;
    }
    return source;
}

DiscLayout::Outcome DiscLayout::writeImage(const QString &target, qint64 capacityBytes,
    Progress *progress, QString *error, qint64 *imageBytes) const
{
    QString cause;
    struct burn_source *source = createSource(&cause);
    if (!source) {
        *error = cause;
        return Outcome::Failed;
    }
    const qint64 size = source->get_size(source);
    if (imageBytes)
        *imageBytes = size;
    if (capacityBytes >= 0 && size > capacityBytes) {
        source->cancel(source);
        freeImageSource(source);
        *error = QStringLiteral("the image needs %1 bytes").arg(size);
        return Outcome::TooLarge;
    }
    // A file is written beside the target and renamed at the end; a device (a disc writer's node,
    // /dev/null) is written directly and never replaced.
    const std::unique_ptr<QFileDevice> file = pictureTarget(target);
    QFileDevice &out = *file;
    if (!out.open(QIODevice::WriteOnly)) {
        *error = out.errorString();
        source->cancel(source);
        freeImageSource(source);
        return Outcome::Failed;
    }
    constexpr int kChunk = 128 * int(kBlockSize);
    QByteArray buffer(kChunk, Qt::Uninitialized);
    qint64 done = 0;
    if (progress)
        progress->setRange(int(size >> 20) + 1);
    bool cancelled = false;
    while (done < size) {
        const int want = int(std::min<qint64>(kChunk, size - done));
        const int got
            = source->read_xt(source, reinterpret_cast<unsigned char *>(buffer.data()), want);
        if (got <= 0) {
            cause = takeImageLibraryProblem();
            if (cause.isEmpty())
                cause = QStringLiteral("the image could not be made");
            break;
        }
        if (out.write(buffer.constData(), got) != got) {
            cause = out.errorString();
            break;
        }
        done += got;
        if (progress && ((done >> 20) != ((done - got) >> 20) || done == size)) {
            progress->setPosition(int(done >> 20));
            progress->pumpEvents();
            if ((cancelled = progress->cancelled()))
                break;
        }
    }
    if (done < size && source->cancel)
        source->cancel(source);
    freeImageSource(source);
    if (cause.isEmpty() && !cancelled)
        cause = takeImageLibraryProblem();
    if (!cause.isEmpty() || cancelled) {
        // The temporary file goes with `file`; the target stays as it was.
        *error = cancelled ? QStringLiteral("cancelled") : cause;
        return cancelled ? Outcome::Cancelled : Outcome::Failed;
    }
    if (!finishPictureTarget(out)) {
        *error = out.errorString();
        return Outcome::Failed;
    }
    return Outcome::Written;
}

} // namespace glimmerix
