// glimix-cli capture and scan: the test pattern listed and grabbed, a scan from SANE's `test`
// backend added to an album, and bad arguments refused with a usage error.

#include "support/testenvironment.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace
{

struct CliRun {
    int status;
    QString out;
    QString err;
};

CliRun runCli(const QStringList &args, const QString &saneFolder = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!saneFolder.isEmpty())
        environment.insert(QStringLiteral("SANE_CONFIG_DIR"), saneFolder);
    process.setProcessEnvironment(environment);
    process.start(programFolder() + QStringLiteral("/glimix-cli"), args);
    process.waitForFinished(60000);
    return { process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
        QString::fromUtf8(process.readAllStandardError()) };
}

TEST(CaptureCli, ListsGrabsAndScansIntoAnAlbum)
{
    const CliRun devices = runCli({ "capture", "devices" });
    ASSERT_EQ(devices.status, 0) << devices.err.toStdString();
    EXPECT_TRUE(devices.out.contains(QStringLiteral("10\tTest pattern")))
        << devices.out.toStdString();

    const QString folder = makeTestFolder();
    const CliRun still = runCli({ "capture", "still", folder + "/frame.bmp", "--device", "10" });
    ASSERT_EQ(still.status, 0) << still.err.toStdString();
    const CliRun info = runCli({ "info", folder + "/frame.bmp" });
    EXPECT_TRUE(info.out.contains(QStringLiteral("640"))) << info.out.toStdString();

    writeFile(folder + "/dll.conf", "test\n");
    const QString album = folder + "/scans.gmx";
    ASSERT_EQ(runCli({ "album", "new", album }).status, 0);
    const CliRun scan = runCli({ "scan", "into", album, "--mode", "gray", "--resolution", "100",
                                   "--area", "0,0,25.4,12.7" },
        folder);
    ASSERT_EQ(scan.status, 0) << scan.err.toStdString();
    const CliRun list = runCli({ "album", "list", album });
    EXPECT_TRUE(list.out.contains(scan.out.trimmed())) << list.out.toStdString();
}

TEST(CaptureCli, BadArgumentsAreUsageErrors)
{
    const QString out = makeTestFolder() + "/x.avi";
    for (const QStringList &args : { QStringList { "capture", "clip", out },
             QStringList { "capture", "clip", out, "--seconds", "-1" },
             QStringList { "capture", "clip", out, "--seconds", "1", "--device", "99" },
             QStringList { "capture", "clip", out, "--seconds", "1", "--size", "big" },
             QStringList { "scan", "into" }, QStringList { "capture", "record" } }) {
        const CliRun run = runCli(args);
        EXPECT_EQ(run.status, 2) << args.join(u' ').toStdString() << ": " << run.err.toStdString();
    }
}

} // namespace
