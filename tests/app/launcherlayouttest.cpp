#include "app/launcherlayout.h"
#include "app/launcherstate.h"

#include "platform/strings.h"

#include "support/recordinghost.h"
#include "support/recordingstarter.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

QList<LauncherEntry> threePrograms()
{
    return { { QStringLiteral("/usr/bin/gimp"), QStringLiteral("GIMP"), {} },
        { QStringLiteral("/usr/bin/inkscape"), QStringLiteral("Inkscape"), {} },
        { QStringLiteral("/opt/tools/edit"), QStringLiteral("Editor"), {} },
        { QStringLiteral("/opt/tools/view"), QStringLiteral("Viewer"), {} } };
}

QPoint centreOf(int index)
{
    return launcherButtonRect(index).toRect().center();
}

} // namespace

TEST(LauncherLayout, ButtonRectangles)
{
    EXPECT_EQ(launcherButtonRect(0), (ButtonRect { 30, 5, 85, 60 }));
    const ButtonRect fourth = launcherButtonRect(3);
    EXPECT_EQ(fourth.left, 225);
    EXPECT_EQ(fourth.right, 280);
    EXPECT_EQ(fourth.toRect().size(), QSize(55, 55));
    EXPECT_TRUE(fourth.contains({ 225, 30 }));
    EXPECT_TRUE(fourth.contains({ 279, 59 }));
    EXPECT_FALSE(fourth.contains({ 280, 30 })); // right edge belongs to the gap
    EXPECT_FALSE(fourth.contains({ 250, 60 }));

    LauncherState state;
    state.setEntries(threePrograms());
    EXPECT_EQ(state.entries()[3].rect, fourth);
    EXPECT_EQ(state.buttonAt({ 224, 30 }), -1); // in the gap between buttons 2 and 3
    EXPECT_EQ(state.buttonAt({ 225, 30 }), 3);
    EXPECT_EQ(state.buttonAt({ 10, 30 }), -1);
    EXPECT_EQ(launcherButtonArea(4), QRect(QPoint(30, 5), QPoint(279, 59)));
    EXPECT_TRUE(launcherButtonArea(0).isEmpty());
}

TEST(LauncherLayout, StatusTextsAndLooksFollowTheMouse)
{
    LauncherState empty;
    EXPECT_EQ(empty.mouseMove({ 40, 20 }), loadString(Message::kEmptyStatus));

    LauncherState state;
    state.setEntries(threePrograms());
    EXPECT_EQ(state.mouseMove(centreOf(1)),
        formatString(Message::kButtonStatus, { QStringLiteral("Inkscape") }));
    EXPECT_EQ(state.look(1), ButtonLook::Hover);
    EXPECT_EQ(state.toolTipAt(centreOf(1)), QStringLiteral("Inkscape"));
    EXPECT_EQ(state.mouseMove({ 5, 5 }), loadString(Message::kIdleStatus));
    EXPECT_EQ(state.look(1), ButtonLook::Normal);

    // A held button shows pressed only while the cursor is on it.
    ASSERT_TRUE(state.press(centreOf(0)));
    EXPECT_EQ(state.look(0), ButtonLook::Pressed);
    state.mouseMove(centreOf(2));
    EXPECT_EQ(state.look(0), ButtonLook::Normal);
    EXPECT_EQ(state.look(2), ButtonLook::Normal);
    state.mouseMove(centreOf(0));
    EXPECT_EQ(state.look(0), ButtonLook::Pressed);

    // The main window's hover reset.
    state.releaseLeft({ 0, 0 });
    state.mouseMove(centreOf(3));
    EXPECT_TRUE(state.resetHover());
    EXPECT_FALSE(state.resetHover());
    EXPECT_EQ(state.look(3), ButtonLook::Normal);
}

TEST(LauncherLayout, DragOverHighlightsOnlyAcceptableDataOverAButton)
{
    LauncherState state;
    state.setEntries(threePrograms());
    EXPECT_EQ(state.dragMove(centreOf(2), true), 2);
    EXPECT_EQ(state.look(2), ButtonLook::Hover);
    EXPECT_EQ(state.dragMove(centreOf(1), true), 1);
    EXPECT_EQ(state.look(2), ButtonLook::Normal);
    EXPECT_EQ(state.dragMove(centreOf(1), false), -1);
    EXPECT_EQ(state.look(1), ButtonLook::Normal);
}

TEST(LauncherLayout, ReleaseOnAnotherButtonStartsThatButtonsProgram)
{
    RecordingHost host;
    RecordingStarter starter;
    LauncherState state;
    state.setEntries(threePrograms());
    ASSERT_TRUE(state.press(centreOf(0)));
    const int index = state.releaseLeft(centreOf(2));
    EXPECT_EQ(index, 2);
    EXPECT_EQ(state.look(0), ButtonLook::Normal);
    EXPECT_FALSE(state.held());
    ASSERT_TRUE(startLauncherProgram(state.entries()[index]));
    ASSERT_EQ(starter.started.size(), 1);
    EXPECT_EQ(starter.started[0].program, QStringLiteral("/opt/tools/edit"));
    EXPECT_TRUE(starter.started[0].arguments.isEmpty());
    EXPECT_EQ(starter.started[0].workingFolder, QStringLiteral("/opt/tools"));

    EXPECT_EQ(state.releaseLeft({ 5, 5 }), -1); // released off every button: nothing starts
}

TEST(LauncherLayout, RightReleaseOpensTheSetupForTheButtonStillUnderTheCursor)
{
    LauncherState state;
    state.setEntries(threePrograms());
    state.press(centreOf(1));
    EXPECT_EQ(state.releaseRight(centreOf(1)).preselect, 1);
    state.press(centreOf(1));
    EXPECT_EQ(state.releaseRight(centreOf(2)).preselect, -1);
    EXPECT_EQ(state.look(1), ButtonLook::Normal);
    EXPECT_EQ(state.releaseRight({ 5, 5 }).preselect, -1); // a right click on the empty bar
}

TEST(LauncherLayout, StartFailuresAreReported)
{
    RecordingHost host;
    RecordingStarter starter;
    starter.fail = true;
    const LauncherEntry entry { QStringLiteral("/opt/tools/edit"), QStringLiteral("Editor"), {} };
    EXPECT_FALSE(startLauncherProgram(entry));
    EXPECT_EQ(host.messageIds(), QList<int> { Message::kStartFailed });

    host.clear();
    EXPECT_FALSE(startLauncherProgramWithFile(entry, QStringLiteral("/photos/a b.jpg")));
    ASSERT_EQ(host.shown().size(), 1);
    EXPECT_EQ(host.shown()[0].icon, MessageIcon::Information);
    EXPECT_TRUE(host.shown()[0].text.contains(QStringLiteral("No such file")));
}

TEST(LauncherLayout, DropStartsTheProgramWithTheFileAsOneArgument)
{
    RecordingStarter starter;
    const LauncherEntry entry { QStringLiteral("/opt/tools/edit"), QStringLiteral("Editor"), {} };
    ASSERT_TRUE(startLauncherProgramWithFile(entry, QStringLiteral("/My Pictures/a b.jpg")));
    ASSERT_EQ(starter.started.size(), 1);
    EXPECT_EQ(starter.started[0].program, QStringLiteral("/opt/tools/edit"));
    EXPECT_EQ(starter.started[0].arguments, QStringList { QStringLiteral("/My Pictures/a b.jpg") });
    EXPECT_EQ(starter.started[0].workingFolder, QDir::currentPath());
    EXPECT_FALSE(startLauncherProgramWithFile({}, QStringLiteral("/x.jpg")));
    EXPECT_EQ(starter.started.size(), 1);
}

TEST(DesktopEntries, ExecLinesExpandWithoutAShell)
{
    const QStringList files = { QStringLiteral("/p/a b.jpg"), QStringLiteral("/p/c.jpg") };
    struct Case {
        const char *name;
        QString exec;
        QStringList expected;
    };
    const Case cases[] = {
        { "single file code", QStringLiteral("gimp %f"), { "gimp", "/p/a b.jpg" } },
        { "all files", QStringLiteral("viewer --new %F"),
            { "viewer", "--new", "/p/a b.jpg", "/p/c.jpg" } },
        { "no code appends", QStringLiteral("editor"), { "editor", "/p/a b.jpg", "/p/c.jpg" } },
        { "quoted words", QStringLiteral("\"/opt/My App/run\" --title \"a \\\"b\\\"\" %u"),
            { "/opt/My App/run", "--title", "a \"b\"", "/p/a b.jpg" } },
        { "shell characters stay text", QStringLiteral("sh -c; rm %f"),
            { "sh", "-c;", "rm", "/p/a b.jpg" } },
        { "percent and name", QStringLiteral("app --n=%c 100%% %d %f"),
            { "app", "--n=Pics", "100%", "/p/a b.jpg" } },
        { "icon code", QStringLiteral("app %i %f"), { "app", "--icon", "pics", "/p/a b.jpg" } },
        { "unterminated quote", QStringLiteral("app \"oops %f"), {} },
        { "blank line", QStringLiteral("   "), {} },
    };
    for (const Case &test : cases)
        EXPECT_EQ(expandExecLine(test.exec, files, QStringLiteral("Pics"), QStringLiteral("pics")),
            test.expected)
            << test.name;
    EXPECT_EQ(
        expandExecLine(QStringLiteral("gimp %f"), {}), QStringList { QStringLiteral("gimp") });
}

TEST(DesktopEntries, ParsedFromTheMainGroupOnly)
{
    const DesktopEntry entry = parseDesktopEntry(
        "# comment\n[Desktop Entry]\nName=Picture Tool\nName[de]=Bildwerkzeug\nIcon=pictool\n"
        "Exec=pictool --open %F\nPath=/srv/work\n[Desktop Action new]\nExec=pictool --new\n");
    EXPECT_TRUE(entry.valid);
    EXPECT_EQ(entry.name, QStringLiteral("Picture Tool"));
    EXPECT_EQ(entry.icon, QStringLiteral("pictool"));
    EXPECT_EQ(entry.exec, QStringLiteral("pictool --open %F"));
    EXPECT_EQ(entry.path, QStringLiteral("/srv/work"));
    EXPECT_FALSE(parseDesktopEntry("[Other]\nExec=x\n").valid);
    EXPECT_FALSE(parseDesktopEntry(QByteArray("\0\0[Desktop Entry\nExec", 22)).valid);

    const QString file
        = makeTestFolder(QStringLiteral("desktop")) + QStringLiteral("/tool.desktop");
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("[Desktop Entry]\nType=Application\nName=Tool\nExec=/bin/true --x %f\nPath=/tmp\n");
    out.close();
    const LaunchCommand command = launchCommandFor(file, { QStringLiteral("/p/a.jpg") });
    EXPECT_EQ(command.program, QStringLiteral("/bin/true"));
    EXPECT_EQ(
        command.arguments, (QStringList { QStringLiteral("--x"), QStringLiteral("/p/a.jpg") }));
    EXPECT_EQ(command.workingFolder, QStringLiteral("/tmp"));
    EXPECT_FALSE(launchCommandFor(file + QStringLiteral(".missing.desktop"), {}).isValid());
}
