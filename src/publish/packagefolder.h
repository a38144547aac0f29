#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace glimmerix
{

// The products that deliver into a folder the user chooses.
enum class PackageKind { WebAlbum, SlideShow, Postcard };

// "web album", "slide show package", "video postcard": how messages name a product.
QString packageKindName(PackageKind kind);

// The small file every delivered package carries: its first line names the product, the other
// lines the package's files. It tells a later delivery which files are the package's own.
inline constexpr const char *kPackageManifestName = "glimmerix-package.txt";

// What a destination folder holds, as a delivery of one product sees it.
enum class FolderState {
    Missing, // not there yet; the delivery makes it
    Empty,
    EarlierPackage, // holds a package of the same product (its manifest says so)
    Refused, // anything else: the user's files, another product's package, not a folder
};
struct PackageFolder {
    FolderState state = FolderState::Missing;
    QString cause; // with Refused: why, meant to follow "FOLDER: "
    QStringList packageFiles; // with EarlierPackage: the file names its manifest lists
};
PackageFolder examinePackageFolder(const QString &folder, PackageKind kind);

// A file of a package: where it is now and the name it takes in the destination.
struct PackageFile {
    QString source;
    QString name;
    bool program = false; // a player the recipient runs: it stays runnable
};

// Delivers `files` into `folder` by the folder rule: only into a missing or empty folder, or
// over an earlier package of the same product when `replaceEarlier` is true. The files are
// copied into a private folder inside the destination first and moved into place only when all
// of them are there; the earlier package's files (only those its manifest lists) are set aside
// and removed at the end. Names are replaced by renames, so a link in the folder is replaced,
// never written through. A delivery that fails leaves the folder as it was (a folder it made is
// removed again). Empty on success, else "FILE: cause".
QString deliverPackage(
    const QString &folder, PackageKind kind, const QList<PackageFile> &files, bool replaceEarlier);

// A subfolder of `folder` that does not exist yet, for a product refused in `folder`:
// "FOLDER/NAME", or "FOLDER/NAME 2", "FOLDER/NAME 3", ... when that is taken.
QString freshSubfolder(const QString &folder, const QString &name);

} // namespace glimmerix
