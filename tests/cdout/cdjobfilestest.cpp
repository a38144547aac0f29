// The files the CD jobs write for outside applications: the project file, the add-on list and
// command, the job file with its numbered disc folders.

#include "cdtesthelpers.h"

#include "cdout/cdjob.h"
#include "cdout/mycdjob.h"
#include "cdout/wincdrjob.h"
#include "cdout/winoncdjob.h"
#include "platform/programstarter.h"
#include "platform/settingsstore.h"
#include "support/recordingstarter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

TEST(WinOnCdJob, ProjectFileListsFoldersFilesAndTheStartFolder)
{
    struct Case {
        const char *name;
        QString mainFile;
        QString startFolder;
        QStringList files;
        QByteArray expected;
    };
    const QByteArray head
        = "[WinOnCD Project]\r\nPlugin=ISO9660\r\nJob1=ISO9660\r\n\r\n"
          "[ISO9660]\r\nVOLUME \"5/3/2001\"\r\nJOLIET VD\r\nVOLUME \"5/3/2001\"\r\n";
    const std::vector<Case> cases {
        { "two folders, a path added twice, a start folder", "/s/AutoRun.inf", "Album",
            { "/s/a.html", "/t/b.jpg", "/s/a.html" },
            head
                + "PATHTABLE\r\n1=/s\r\n1=/t\r\n/PATHTABLE\r\n\r\nROOT\r\n"
                  "FILE \"AutoRun.inf\" \"*1\\AutoRun.inf\" /ISO \"AutoRun.inf\"\r\n"
                  "START \"Album\" /ISO \"Album\"\r\n"
                  "FILE \"a.html\" \"*1\\a.html\" /ISO \"a.html\"\r\n"
                  "FILE \"b.jpg\" \"*2\\b.jpg\" /ISO \"b.jpg\"\r\n" },
        // The main file's folder gets a table line too, after the files' folders.
        { "no start folder, main file elsewhere", "/m/AutoRun.inf", "", { "/s/a.html" },
            head
                + "PATHTABLE\r\n1=/s\r\n1=/m\r\n/PATHTABLE\r\n\r\nROOT\r\n"
                  "FILE \"AutoRun.inf\" \"*2\\AutoRun.inf\" /ISO \"AutoRun.inf\"\r\n"
                  "FILE \"a.html\" \"*1\\a.html\" /ISO \"a.html\"\r\n" },
    };
    for (const Case &c : cases) {
        winoncd::resetWinOnCdJob();
        winoncd::setMainFile(c.mainFile);
        winoncd::setStartFolder(c.startFolder);
        for (const QString &file : c.files)
            winoncd::addFile(file);
        EXPECT_EQ(winoncd::winOnCdProject(QDate(2001, 3, 5)), c.expected) << c.name;
    }
    winoncd::resetWinOnCdJob();
}

TEST(WinOnCdJob, StagingTakesTheNextFreeFolderAndTheProjectOpensFromIt)
{
    RecordingStarter starter;
    winoncd::resetWinOnCdJob();
    winoncd::clearStaging();
    ASSERT_TRUE(QDir().mkpath(winoncd::stagingRoot() + QStringLiteral("/TMP1")));
    const QString staging = winoncd::stagingFolder();
    EXPECT_EQ(staging, winoncd::stagingRoot() + QStringLiteral("/TMP2/"));
    EXPECT_EQ(winoncd::stagingFolder(), staging);
    winoncd::addFile(staging + QStringLiteral("page.html"));
    ASSERT_TRUE(winoncd::writeProjectAndOpen(QDate(2001, 12, 7)));
    EXPECT_EQ(starter.opened, QStringList { staging + QStringLiteral("TEMP.CPJ") });
    EXPECT_TRUE(readBytes(staging + QStringLiteral("TEMP.CPJ")).contains("VOLUME \"7/12/2001\""));

    // The job was reset; the tree stays while the application runs, and goes afterwards.
    bool running = true;
    const WindowProbe previous
        = setWindowProbe({ [&running](const QString &windowClass) {
                              return running && windowClass == QLatin1String("WinOnCDMainWndClass");
                          },
            {} });
    winoncd::clearStaging();
    EXPECT_TRUE(QFileInfo::exists(staging));
    running = false;
    winoncd::clearStaging();
    EXPECT_FALSE(QFileInfo::exists(winoncd::stagingRoot()));
    setWindowProbe(previous);
}

TEST(WinCdrJob, ListFileAutoRunAndCommandLine)
{
    RecordingStarter starter;
    const auto settings = freshSettings();
    const QString p = makeTestFolder(QStringLiteral("WinCDR"));
    EXPECT_FALSE(wincdr::isAvailable(*settings));
    EXPECT_EQ(wincdr::beginJob(*settings, QStringLiteral("SlideShow")), 0);
    settings->writeString(SettingsRoot::User, wincdr::keyPath(), QStringLiteral("program"), p);
    settings->writeString(SettingsRoot::User, wincdr::keyPath(), QStringLiteral("EXE"), "x");
    EXPECT_FALSE(wincdr::isAvailable(*settings));
    settings->writeString(
        SettingsRoot::User, wincdr::keyPath(), QStringLiteral("WorkDirectory"), p);
    EXPECT_TRUE(wincdr::isAvailable(*settings));

    const QString source = makeTestFolder(QStringLiteral("work")) + QStringLiteral("/show.jpg");
    writeBytes(source, "first");
    writeBytes(p + QStringLiteral("/Temp/old.jpg"), "old");
    EXPECT_EQ(wincdr::clearTransferFolder(*settings), 1);
    EXPECT_FALSE(QFileInfo::exists(p + QStringLiteral("/Temp/old.jpg")));
    ASSERT_EQ(wincdr::beginJob(*settings, QStringLiteral("SlideShow")), 1);
    EXPECT_EQ(readBytes(p + QStringLiteral("/Temp/AutoRun.inf")),
        "[AutoRun]\r\nopen=SlideShow.EXE\r\nicon=SlideShow.EXE\r\n");
    EXPECT_EQ(wincdr::addFile(*settings, source, QStringLiteral("SlideShow")), 1);
    writeBytes(source, "second");
    EXPECT_EQ(wincdr::addFile(*settings, source, QStringLiteral("SlideShow")), 1);
    // Listed twice, the copy overwritten.
    const QByteArray line = (p + QStringLiteral("/Temp/show.jpg\r\n")).toUtf8();
    EXPECT_EQ(readBytes(p + QStringLiteral("/SlideShow.log")), line + line);
    EXPECT_EQ(readBytes(p + QStringLiteral("/Temp/show.jpg")), "second");

    EXPECT_EQ(wincdr::run(*settings, QStringLiteral("SlideShow")), 1);
    ASSERT_EQ(starter.started.size(), 1);
    EXPECT_EQ(starter.started.at(0).program, p + QStringLiteral("/wincdr.exe"));
    EXPECT_EQ(starter.started.at(0).arguments,
        QStringList({ QStringLiteral("/add-on"), QStringLiteral("SlideShow.log"), p }));
}

TEST(MyCdJob, JobFileDiscFoldersAndThePreviousJobsRemoval)
{
    RecordingStarter starter;
    const auto settings = freshSettings();
    const QString jobFolder = makeTestFolder(QStringLiteral("job"));
    const QString temp = makeTestFolder(QStringLiteral("temp"));
    const QString install = makeTestFolder(QStringLiteral("MyCD"));
    writeBytes(install + QStringLiteral("/MyCD.Exe"), "program");
    EXPECT_FALSE(CMyCdJob(*settings, jobFolder, temp).isAvailable());
    settings->writeString(SettingsRoot::Machine, CMyCdJob::componentKeyPath(), QString(),
        install + QStringLiteral("/mycdcom.dll"));

    const QString work = makeTestFolder(QStringLiteral("work"));
    for (const char *name : { "AutoRun.inf", "AUTORUN.INF", "page.html", "pic.jpg" })
        writeBytes(work + u'/' + QLatin1String(name), name);
    {
        CMyCdJob job(*settings, jobFolder, temp);
        ASSERT_TRUE(job.isAvailable());
        EXPECT_EQ(job.addFile(work + QStringLiteral("/missing.jpg")), 0);
        EXPECT_EQ(job.addFile(work + QStringLiteral("/AutoRun.inf")), 1);
        EXPECT_EQ(job.addFile(work + QStringLiteral("/AUTORUN.INF")), 1); // listed, by case
        ASSERT_TRUE(QDir().mkdir(temp + QStringLiteral("/MyCD1")));
        ASSERT_TRUE(job.setDiscFolder(QStringLiteral("Album")));
        EXPECT_EQ(job.discFolder(), temp + QStringLiteral("/MyCD2/Album"));
        EXPECT_EQ(job.addFile(work + QStringLiteral("/page.html")), 1);
        EXPECT_TRUE(QFileInfo::exists(temp + QStringLiteral("/MyCD2/Album/page.html")));
        EXPECT_FALSE(QFileInfo::exists(work + QStringLiteral("/page.html")));
        job.write(QDateTime(QDate(2001, 3, 5), QTime(14, 7)));
        const QByteArray ini = readBytes(job.jobFile());
        for (const char *line : { "[Files]", "1=", "AutoRun.inf", "2=", "MyCD2/Album", "[MyCD Job]",
                 "Type=DataCD", "Name=My Keepsake Desk", "[Parameters]", "VolumeLabel=0103051407",
                 "ShowFileList=0" })
            EXPECT_TRUE(ini.contains(line)) << line;
        EXPECT_FALSE(ini.contains("3=")); // the moved file is not listed by itself
        ASSERT_EQ(starter.started.size(), 1);
        EXPECT_EQ(starter.started.at(0).arguments,
            QStringList { QStringLiteral("/DataCD/Job:") + job.jobFile() });
    }
    // The next job removes what the last one listed: the file, the disc folder, its MyCD2.
    const CMyCdJob next(*settings, jobFolder, temp);
    EXPECT_FALSE(QFileInfo::exists(work + QStringLiteral("/AutoRun.inf")));
    EXPECT_FALSE(QFileInfo::exists(temp + QStringLiteral("/MyCD2")));
    EXPECT_TRUE(QFileInfo::exists(temp + QStringLiteral("/MyCD1")));
    EXPECT_FALSE(QFileInfo::exists(next.jobFile()));
}

// A numbered disc folder name that is a link, even one leading nowhere, is passed over: the job
// makes its folders and moves its files only under names of its own.
TEST(MyCdJob, ALinkedNumberedFolderIsPassedOver)
{
    const auto settings = freshSettings();
    const QString temp = makeTestFolder(QStringLiteral("temp"));
    const QString elsewhere = makeTestFolder(QStringLiteral("elsewhere"));
    ASSERT_TRUE(QFile::link(elsewhere + QStringLiteral("/gone"), temp + QStringLiteral("/MyCD1")));
    ASSERT_TRUE(QFile::link(elsewhere, temp + QStringLiteral("/MyCD2")));
    CMyCdJob job(*settings, makeTestFolder(QStringLiteral("job")), temp);
    ASSERT_TRUE(job.setDiscFolder(QStringLiteral("Album")));
    EXPECT_EQ(job.discFolder(), temp + QStringLiteral("/MyCD3/Album"));
    EXPECT_FALSE(QFileInfo::exists(elsewhere + QStringLiteral("/gone")));
    EXPECT_TRUE(QDir(elsewhere).isEmpty());
}

} // namespace
