// Where a product may be delivered: the folder rule, what a failed delivery leaves behind, and
// links under the outputs' names. The rule is shared by the web album, the slide show package
// and the video postcard.

#include "publish/packagefolder.h"
#include "publish/productfiles.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>

#include <gtest/gtest.h>

#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <unistd.h>

using namespace glimmerix;

namespace
{

// Every entry of a folder: a file's bytes, a link's target, or "<folder>".
QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> entries;
    const QFileInfoList infos = QDir(folder).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &info : infos) {
        if (info.isSymLink())
            entries.insert(info.fileName(), "link to " + info.symLinkTarget().toUtf8());
        else if (info.isDir())
            entries.insert(info.fileName(), "<folder>");
        else
            entries.insert(info.fileName(), fileBytes(info.filePath()));
    }
    return entries;
}

// Makes `folder` unwritable, even for root (the immutable flag) where the file system allows.
// False when it cannot be done here.
bool setUnwritable(const QString &folder, bool unwritable)
{
    QFile::setPermissions(folder,
        unwritable ? QFileDevice::ReadOwner | QFileDevice::ExeOwner
                   : QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (::geteuid() != 0)
        return true;
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = unwritable ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

// Runs `work` with files limited to `bytes`, as a full disk would limit them.
QString withFileSizeLimit(rlim_t bytes, const std::function<QString()> &work)
{
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous {};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit limited = previous;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
    const QString result = work();
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    return result;
}

TEST(PackageFolder, DeliveryTargets)
{
    const QString sources = makeTestFolder(QStringLiteral("sources"));
    writeFile(sources + QStringLiteral("/album1.html"), "new page");
    writeFile(sources + QStringLiteral("/pic.jpg"), QByteArray(20000, 'j'));
    writeFile(sources + QStringLiteral("/viewer.bin"), "program");
    const QList<PackageFile> package = {
        { sources + QStringLiteral("/album1.html"), QStringLiteral("album1.html") },
        { sources + QStringLiteral("/pic.jpg"), QStringLiteral("pic.jpg") },
        { sources + QStringLiteral("/viewer.bin"), QStringLiteral("WebAlbum.exe"), true },
    };
    const QString manifest = QLatin1String(kPackageManifestName);
    const QString outside
        = makeTestFolder(QStringLiteral("outside")) + QStringLiteral("/mine.html");
    writeFile(outside, "the user's own page");

    // An earlier web album: an old picture, a page that is a link to the user's file, and a
    // file the user put there afterwards.
    const auto earlierAlbum = [&](const QString &folder) {
        writeFile(sources + QStringLiteral("/old.jpg"), "old picture");
        EXPECT_EQ(
            deliverPackage(folder, PackageKind::WebAlbum,
                { { sources + QStringLiteral("/old.jpg"), QStringLiteral("old.jpg") },
                    { sources + QStringLiteral("/album1.html"), QStringLiteral("album1.html") } },
                false),
            QString());
        QFile::remove(folder + QStringLiteral("/album1.html"));
        EXPECT_TRUE(QFile::link(outside, folder + QStringLiteral("/album1.html")));
        writeFile(folder + QStringLiteral("/notes.txt"), "the user's notes");
    };
    const auto empty = [](const QString &) {};
    enum Outcome { Delivered, Refused };
    const struct {
        const char *name;
        std::function<void(const QString &)> prepare;
        QString subfolder; // appended to a fresh folder: a folder the delivery must make
        bool replace = false;
        rlim_t sizeLimit = 0; // 0: no limit
        Outcome outcome;
        const char *says; // part of the failure
        QStringList keptNames; // with Delivered: what stays beside the new package
    } cases[] = {
        { "empty folder", empty, {}, false, 0, Delivered, "", {} },
        { "new folder", empty, "/new/deeper", false, 0, Delivered, "", {} },
        { "earlier package of the same kind", earlierAlbum, {}, true, 0, Delivered, "",
            { "notes.txt" } },
        { "earlier package, not to be replaced", earlierAlbum, {}, false, 0, Refused,
            "holds an earlier web album", {} },
        { "earlier package of another kind",
            [&](const QString &folder) {
                EXPECT_EQ(
                    deliverPackage(folder, PackageKind::SlideShow, package, false), QString());
            },
            {}, true, 0, Refused, "holds a slide show package, not a web album", {} },
        { "folder of the user's photos",
            [](const QString &folder) {
                writeFile(folder + QStringLiteral("/photo.jpg"), "camera picture with EXIF");
                writeFile(folder + QStringLiteral("/pic.jpg"), "the user's pic.jpg");
            },
            {}, true, 0, Refused, "holds files that are not a web album's (photo.jpg, pic.jpg)",
            {} },
        { "links named like the outputs",
            [&](const QString &folder) {
                QFile::link(outside, folder + QStringLiteral("/album1.html"));
                QFile::link(outside, folder + QStringLiteral("/WebAlbum.exe"));
            },
            {}, true, 0, Refused, "holds files that are not a web album's", {} },
        { "unwritable folder", empty, {}, false, 0, Refused, "permission denied", {} },
        { "full disk, new folder", empty, "/new", false, 10000, Refused, "pic.jpg: ", {} },
        { "full disk over an earlier package", earlierAlbum, {}, true, 10000, Refused,
            "pic.jpg: ", {} },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString base = makeTestFolder(QStringLiteral("target"));
        c.prepare(base);
        const QString folder = base + c.subfolder;
        const bool unwritable = QLatin1String(c.name) == QLatin1String("unwritable folder");
        if (unwritable && !setUnwritable(folder, true)) {
            setUnwritable(folder, false);
            GTEST_LOG_(INFO) << "skipped: the folder cannot be made unwritable here";
            continue;
        }
        const QMap<QString, QByteArray> before = snapshot(base);
        const auto deliver
            = [&] { return deliverPackage(folder, PackageKind::WebAlbum, package, c.replace); };
        const QString failure = c.sizeLimit ? withFileSizeLimit(c.sizeLimit, deliver) : deliver();
        if (unwritable)
            setUnwritable(folder, false);
        // Whatever happened, the user's file behind the links is untouched.
        EXPECT_EQ(fileBytes(outside), "the user's own page");
        EXPECT_FALSE(QFileInfo(outside).permissions() & QFileDevice::ExeOwner);
        if (c.outcome == Refused) {
            EXPECT_TRUE(failure.contains(QLatin1String(c.says))) << qPrintable(failure);
            EXPECT_TRUE(failure.startsWith(folder) || failure.startsWith(QDir::cleanPath(folder)))
                << qPrintable(failure);
            // The folder is as it was: nothing added, replaced or removed.
            EXPECT_EQ(snapshot(base), before);
            continue;
        }
        EXPECT_EQ(failure, QString());
        QStringList expected = c.keptNames;
        for (const PackageFile &file : package)
            expected.append(file.name);
        expected.append(manifest);
        expected.sort();
        EXPECT_EQ(snapshot(folder).keys(), expected);
        for (const PackageFile &file : package) {
            const QFileInfo copy(folder + u'/' + file.name);
            EXPECT_FALSE(copy.isSymLink()) << qPrintable(file.name);
            EXPECT_EQ(fileBytes(copy.filePath()), fileBytes(file.source));
            EXPECT_EQ(bool(copy.permissions() & QFileDevice::ExeOther), file.program);
        }
        for (const QString &name : c.keptNames)
            EXPECT_EQ(snapshot(folder).value(name), before.value(name)) << qPrintable(name);
        // The next delivery recognises the package as this product's own.
        const PackageFolder again = examinePackageFolder(folder, PackageKind::WebAlbum);
        EXPECT_EQ(again.state, FolderState::EarlierPackage);
        EXPECT_EQ(again.packageFiles,
            QStringList({ QStringLiteral("album1.html"), QStringLiteral("pic.jpg"),
                QStringLiteral("WebAlbum.exe") }));
    }
}

// The shared writers replace a name instead of opening it: a link there is replaced, its target
// is neither written nor made runnable, and a write that fails keeps the file it would replace.
TEST(ProductFiles, WritesReplaceLinksAndKeepTheOldFileOnFailure)
{
    const QString folder = makeTestFolder(QStringLiteral("links"));
    const QString source = folder + QStringLiteral("/source.bin");
    writeFile(source, QByteArray(5000, 's'));
    const QString outside = folder + QStringLiteral("/outside.txt");
    const struct {
        const char *name;
        std::function<QString(const QString &)> write;
    } writers[] = {
        { "copyProductFile", [&](const QString &to) { return copyProductFile(source, to); } },
        { "copyProductProgram", [&](const QString &to) { return copyProductProgram(source, to); } },
        { "writeWholeFile",
            [](const QString &to) { return writeWholeFile(to, QByteArray(5000, 'w')); } },
    };
    for (const auto &w : writers) {
        SCOPED_TRACE(w.name);
        writeFile(outside, "keep me");
        QFile::setPermissions(outside, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        const QString target = folder + QStringLiteral("/slide.sld");
        QFile::remove(target);
        ASSERT_TRUE(QFile::link(outside, target));
        EXPECT_EQ(w.write(target), QString());
        EXPECT_FALSE(QFileInfo(target).isSymLink());
        EXPECT_EQ(QFileInfo(target).size(), 5000);
        EXPECT_EQ(fileBytes(outside), "keep me");
        EXPECT_FALSE(QFileInfo(outside).permissions() & QFileDevice::ExeOwner);

        // A full disk: the earlier file stays whole and nothing else is left in the folder.
        writeFile(target, "earlier content");
        const QString cause = withFileSizeLimit(1000, [&] { return w.write(target); });
        EXPECT_FALSE(cause.isEmpty());
        EXPECT_EQ(fileBytes(target), "earlier content");
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 3);
    }
}

} // namespace
