#include "app/commandline.h"
#include "support/testenvironment.h"

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

const QString kCwd = QStringLiteral("/home/u/work");

struct StartCase {
    const char *name;
    QStringList arguments;
    bool anotherRuns;
    StartupDecision decision;
    QString albumToShow; // with LastFile "/albums/last.gmx"
    QStringList filesToAdd;
};

TEST(CommandLine, StartDecisionsAlbumAndFiles)
{
    const QString last = QStringLiteral("/albums/last.gmx");
    const std::vector<StartCase> cases = {
        { "no arguments, alone", {}, false, StartupDecision::FirstInstance, last, {} },
        { "no arguments, another runs", {}, true, StartupDecision::SecondInstance, last, {} },
        { "album, another runs", { "/a/Trip.GMX" }, true, StartupDecision::SecondInstance,
            "/a/Trip.GMX", {} },
        { "pictures, another runs", { "p.jpg", "/x/q.png" }, true, StartupDecision::HandOver, last,
            { "/home/u/work/p.jpg", "/x/q.png" } },
        { "pictures, alone", { "p.jpg" }, false, StartupDecision::FirstInstance, last,
            { "/home/u/work/p.jpg" } },
        { "album then picture, another runs", { "/a/t.gmx", "/p.jpg" }, true,
            StartupDecision::SecondInstance, "/a/t.gmx", { "/p.jpg" } },
        { "picture then album: later album ignored", { "/p.jpg", "/a/t.gmx" }, true,
            StartupDecision::HandOver, last, { "/p.jpg" } },
        { "'.gmx' inside the name is no album", { "/my.gmx files/p.gmx.jpg" }, true,
            StartupDecision::HandOver, last, { "/my.gmx files/p.gmx.jpg" } },
        { "switch only, another runs", { "-Embedding" }, true, StartupDecision::SecondInstance,
            last, {} },
        { "'--' lets a file start with '-'", { "--", "-odd.jpg" }, true, StartupDecision::HandOver,
            last, { "/home/u/work/-odd.jpg" } },
        { "relative parts folded", { "../pics/./a.jpg" }, false, StartupDecision::FirstInstance,
            last, { "/home/u/pics/a.jpg" } },
    };
    for (const StartCase &c : cases) {
        SCOPED_TRACE(c.name);
        const StartupCommandLine line = parseCommandLine(c.arguments, kCwd);
        EXPECT_EQ(decideStartup(line, c.anotherRuns), c.decision);
        EXPECT_EQ(albumToShow(line, last), c.albumToShow);
        EXPECT_EQ(filesToAdd(line), c.filesToAdd);
    }
}

TEST(CommandLine, SwitchesAndPseudoNames)
{
    const StartupCommandLine line
        = parseCommandLine({ "-embedding", "--AUTOMATION", "-x", "", "/a.jpg" }, kCwd);
    EXPECT_TRUE(line.embedding);
    EXPECT_TRUE(line.automation);
    EXPECT_EQ(line.unknownSwitches, QStringList { "-x" });
    EXPECT_EQ(line.fileName, "/a.jpg");
    EXPECT_TRUE(parseCommandLine({ "--view", "a.jpg" }, kCwd).embedding);
    EXPECT_EQ(albumNameToOpen(line), "NEW");

    EXPECT_TRUE(meansUntitled("NEW"));
    EXPECT_TRUE(meansUntitled("Untitled"));
    EXPECT_FALSE(meansUntitled("new"));
    EXPECT_FALSE(meansUntitled("/a/NEW.gmx"));
    // No album named and no LastFile: the album shown is untitled.
    EXPECT_TRUE(albumToShow(parseCommandLine({}, kCwd), {}).isEmpty());
}

} // namespace

TEST(CommandLine, LastAlbumIsForgottenOnlyWhenItsFileIsGone)
{
    const QString folder = makeTestFolder(QStringLiteral("last"));
    const QString present = folder + QStringLiteral("/present.gmx");
    writeFile(present, "album");
    const QString gone = folder + QStringLiteral("/gone.gmx");
    struct Case {
        QString album, lastFile, opened;
        bool forgotten;
    } const cases[] = {
        { present, present, present, false }, // opened
        { present, present, "Untitled", false }, // there but not opened (in use elsewhere)
        { gone, gone, "Untitled", true }, // the file was deleted
        { gone, present, "Untitled", false }, // not the last album: nothing to forget
        { QString(), QString(), "Untitled", false },
    };
    for (const Case &c : cases)
        EXPECT_EQ(forgetsLastAlbum(c.album, c.lastFile, c.opened), c.forgotten)
            << c.album.toStdString() << " last " << c.lastFile.toStdString();
}
