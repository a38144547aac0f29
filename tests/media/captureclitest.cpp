// glimix-cli capture and scan: the test pattern listed and grabbed, a scan from SANE's `test`
// backend added to an album, and bad arguments refused with a usage error.

#include "support/processrun.h"
#include "support/testenvironment.h"

#include <gtest/gtest.h>

namespace
{

TEST(CaptureCli, ListsGrabsAndScansIntoAnAlbum)
{
    const ProcessRun devices = runCli({ "capture", "devices" });
    ASSERT_EQ(devices.status, 0) << devices.err.toStdString();
    EXPECT_TRUE(devices.out.contains(QStringLiteral("10\tTest pattern")))
        << devices.out.toStdString();

    const QString folder = makeTestFolder();
    const ProcessRun still
        = runCli({ "capture", "still", folder + "/frame.bmp", "--device", "10" });
    ASSERT_EQ(still.status, 0) << still.err.toStdString();
    const ProcessRun info = runCli({ "info", folder + "/frame.bmp" });
    EXPECT_TRUE(info.out.contains(QStringLiteral("640"))) << info.out.toStdString();

    writeFile(folder + "/dll.conf", "test\n");
    const QString album = folder + "/scans.gmx";
    ASSERT_EQ(runCli({ "album", "new", album }).status, 0);
    const ProcessRun scan = runCli({ "scan", "into", album, "--mode", "gray", "--resolution", "100",
                                       "--area", "0,0,25.4,12.7" },
        { { "SANE_CONFIG_DIR=" + folder } });
    ASSERT_EQ(scan.status, 0) << scan.err.toStdString();
    const ProcessRun list = runCli({ "album", "list", album });
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
        const ProcessRun run = runCli(args);
        EXPECT_EQ(run.status, 2) << args.join(u' ').toStdString() << ": " << run.err.toStdString();
    }
}

} // namespace
