#include "drivetype.h"

#include "platform/fillin.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QStringList>

#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>

namespace glimmerix
{

namespace
{

// File system magic numbers (linux/magic.h and the network file systems' own).
constexpr unsigned long kIso9660 = 0x9660;
constexpr unsigned long kUdf = 0x15013346;
constexpr unsigned long kNfs = 0x6969;
constexpr unsigned long kSmb = 0x517B;
constexpr unsigned long kCifs = 0xFF534D42;
constexpr unsigned long kSmb2 = 0xFE534D42;
constexpr unsigned long kCoda = 0x73757245;
constexpr unsigned long kAfs = 0x5346414F;
constexpr unsigned long kCeph = 0x00C36400;
constexpr unsigned long kNcp = 0x564C;
constexpr unsigned long kV9fs = 0x01021997;
constexpr unsigned long kTmpfs = 0x01021994;
constexpr unsigned long kRamfs = 0x858458F6;
constexpr unsigned long kProc = 0x9FA0;
constexpr unsigned long kSysfs = 0x62656572;

// The removable flag of the block device `device` (or of the whole disk it is a partition of).
bool blockDeviceRemovable(dev_t device)
{
    const QString base
        = fillIn(QStringLiteral("/sys/dev/block/%1:%2"), major(device), minor(device));
    const QString canonical = QFileInfo(base).canonicalFilePath();
    if (canonical.isEmpty())
        return false;
    if (canonical.contains(QLatin1String("/usb")))
        return true;
    for (const QString &candidate :
        { canonical + QStringLiteral("/removable"), canonical + QStringLiteral("/../removable") }) {
        QFile flag(candidate);
        if (flag.open(QIODevice::ReadOnly))
            return flag.readAll().trimmed() == "1";
    }
    return false;
}

DriveKind classify(unsigned long fsType, dev_t device)
{
    switch (fsType) {
    case kIso9660:
    case kUdf:
        return DriveKind::Optical;
    case kNfs:
    case kSmb:
    case kCifs:
    case kSmb2:
    case kCoda:
    case kAfs:
    case kCeph:
    case kNcp:
    case kV9fs:
        return DriveKind::Network;
    case kTmpfs:
    case kRamfs:
    case kProc:
    case kSysfs:
        return DriveKind::None;
    }
    return blockDeviceRemovable(device) ? DriveKind::Removable : DriveKind::Fixed;
}

// The kind of the device `device`, which holds `probe`.
DriveKind kindOfDevice(dev_t device, const QString &probe)
{
    // Devices rarely change kind while the program runs; one statfs per device is enough.
    static QMutex mutex;
    static QHash<dev_t, DriveKind> known;
    QMutexLocker lock(&mutex);
    const auto found = known.constFind(device);
    if (found != known.constEnd())
        return found.value();
    struct statfs fs {
    };
    if (::statfs(QFile::encodeName(probe).constData(), &fs) != 0)
        return DriveKind::None;
    const DriveKind kind = classify(static_cast<unsigned long>(fs.f_type), device);
    known.insert(device, kind);
    return kind;
}

} // namespace

DriveKind driveKindOf(const QString &absolutePath)
{
    // The nearest existing folder decides, so a missing file still counts where it would lie.
    QString probe = absolutePath;
    struct stat status {
    };
    while (::stat(QFile::encodeName(probe).constData(), &status) != 0) {
        const qsizetype slash = probe.lastIndexOf(u'/');
        if (slash <= 0) {
            probe = QStringLiteral("/");
            if (::stat("/", &status) != 0)
                return DriveKind::None;
            break;
        }
        probe.truncate(slash);
    }
    return kindOfDevice(status.st_dev, probe);
}

MediaFileFacts mediaFileFactsOf(const QString &absolutePath, FolderDriveKinds &missingFolders)
{
    MediaFileFacts facts;
    struct stat status {
    };
    if (::stat(QFile::encodeName(absolutePath).constData(), &status) == 0) {
        facts.exists = true;
        facts.size = qint64(status.st_size);
        facts.drive = kindOfDevice(status.st_dev, absolutePath);
        return facts;
    }
    const qsizetype slash = absolutePath.lastIndexOf(u'/');
    const QString folder = slash <= 0 ? QStringLiteral("/") : absolutePath.left(slash);
    const auto known = missingFolders.constFind(folder);
    if (known != missingFolders.constEnd()) {
        facts.drive = known.value();
    } else {
        facts.drive = driveKindOf(absolutePath);
        missingFolders.insert(folder, facts.drive);
    }
    return facts;
}

} // namespace glimmerix
