// Two-process hand-over: a running instance and the real program started a second time.

#include "platform/instancechannel.h"
#include "support/testenvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace glimmerix;

namespace
{

QString glimixProgram()
{
    return programFolder() + QStringLiteral("/glimix");
}

// Kills what it started when the test ends, however it ends.
class Processes
{
public:
    ~Processes()
    {
        for (const auto &process : m_processes) {
            process->kill();
            process->waitForFinished(5000);
        }
    }
    QProcess &start(const QString &program, const QStringList &arguments,
        const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
    {
        auto &process = m_processes.emplace_back(std::make_unique<QProcess>());
        process->setProcessEnvironment(environment);
        process->start(program, arguments);
        EXPECT_TRUE(process->waitForStarted(5000)) << qPrintable(program);
        return *process;
    }

private:
    std::vector<std::unique_ptr<QProcess>> m_processes;
};

// The stand-in receiver, holding each file for `holdMs`; returns once it listens.
QProcess &startReceiver(Processes &processes, int holdMs)
{
    QProcess &receiver = processes.start(
        QCoreApplication::applicationDirPath() + QStringLiteral("/instance_receiver"),
        { QStringLiteral("glimix"), QString::number(holdMs) });
    EXPECT_TRUE(receiver.waitForReadyRead(5000));
    EXPECT_EQ(receiver.readLine().trimmed(), "ready");
    return receiver;
}

// Runs glimix with `files` and expects it to end quietly with status 0 within a few seconds.
void expectHandedOverAndEnded(QProcess &second)
{
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(second.waitForFinished(15000)) << "the second start kept running";
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().constData();
}

// The lines of `process`'s standard output (or error) that begin with `prefix`, without it,
// once `count` of them have arrived or five seconds have passed.
QStringList waitForLines(QProcess &process, qsizetype count,
    QProcess::ProcessChannel channel = QProcess::StandardOutput, const QByteArray &prefix = {})
{
    process.setReadChannel(channel);
    QStringList result;
    QByteArray pending;
    QElapsedTimer clock;
    clock.start();
    while (result.size() < count && clock.elapsed() < 5000) {
        if (process.bytesAvailable() == 0)
            process.waitForReadyRead(50);
        pending += process.readAll();
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QByteArray line = pending.left(end);
            pending.remove(0, end + 1);
            if (line.startsWith(prefix))
                result.append(QString::fromUtf8(line.mid(prefix.size())));
        }
    }
    return result;
}

// Waits until a live server answers on the instance socket (a stale socket file refuses).
bool waitUntilListening(const QString &socketPath = instanceSocketPath(QStringLiteral("glimix")))
{
    return QTest::qWaitFor(
        [&socketPath] {
            QLocalSocket probe;
            probe.connectToServer(socketPath);
            return probe.waitForConnected(100);
        },
        10000);
}

// The instance socket of a program whose user folder is `home`.
QString socketPathForHome(const QString &home)
{
    const QByteArray saved = qgetenv("GLIMMERIX_HOME");
    qputenv("GLIMMERIX_HOME", home.toUtf8());
    const QString path = instanceSocketPath(QStringLiteral("glimix"));
    qputenv("GLIMMERIX_HOME", saved);
    return path;
}

TEST(Handover, TwoFilesArriveInOrderOneAtATime)
{
    Processes processes;
    QProcess &receiver = startReceiver(processes, 150);
    const QString folder = makeTestFolder();
    const QString a = folder + QStringLiteral("/a.jpg");
    const QString b = folder + QStringLiteral("/b b.png");
    QProcess &second = processes.start(glimixProgram(), { a, b });
    expectHandedOverAndEnded(second);

    EXPECT_EQ(waitForLines(receiver, 4),
        (QStringList { "begin " + a, "end " + a, "begin " + b, "end " + b }));
}

TEST(Handover, ConcurrentSecondStartsTakeTurns)
{
    Processes processes;
    QProcess &receiver = startReceiver(processes, 60);
    const QString folder = makeTestFolder();
    const QStringList first = { folder + "/1.jpg", folder + "/2.jpg" };
    const QStringList second = { folder + "/3.jpg", folder + "/4.jpg" };
    QProcess &one = processes.start(glimixProgram(), first);
    QProcess &two = processes.start(glimixProgram(), second);
    expectHandedOverAndEnded(one);
    expectHandedOverAndEnded(two);

    const QStringList events = waitForLines(receiver, 8);
    ASSERT_EQ(events.size(), 8) << qPrintable(events.join(u'\n'));
    QStringList received;
    for (qsizetype i = 0; i < events.size(); i += 2) {
        // Every "begin" is followed by its own "end": no two hand-overs overlap.
        ASSERT_TRUE(events[i].startsWith("begin ")) << qPrintable(events[i]);
        EXPECT_EQ(events[i + 1], "end " + events[i].mid(6));
        received.append(events[i].mid(6));
    }
    // Each start's files arrive in its own order.
    EXPECT_LT(received.indexOf(first[0]), received.indexOf(first[1]));
    EXPECT_LT(received.indexOf(second[0]), received.indexOf(second[1]));
}

TEST(Handover, RealProgramReceivesOpensSecondInstanceForAlbumsAndSurvivesACrash)
{
    Processes processes;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("GLIMMERIX_DEBUG_HANDOVER"), QStringLiteral("1"));
    const QString folder = makeTestFolder();

    // A first instance that crashes leaves its socket and lock file behind.
    QProcess &crashed = processes.start(glimixProgram(), {}, environment);
    ASSERT_TRUE(waitUntilListening());
    crashed.kill();
    crashed.waitForFinished(5000);

    QProcess &running = processes.start(glimixProgram(), {}, environment);
    ASSERT_TRUE(waitUntilListening());
    QProcess &second = processes.start(glimixProgram(), { folder + "/x.jpg", folder + "/y.JPG" });
    expectHandedOverAndEnded(second);
    EXPECT_EQ(waitForLines(running, 2, QProcess::StandardError, "handover: "),
        (QStringList { folder + "/x.jpg", folder + "/y.JPG" }));

    // An album named on a second start gets a window of its own.
    QProcess &album = processes.start(glimixProgram(), { folder + "/trip.GMX" });
    EXPECT_FALSE(album.waitForFinished(1500));
    EXPECT_EQ(running.state(), QProcess::Running);
}

// Two user folders (a portable copy beside the usual one) run two windows of their own: a second
// start hands its files only to the window of its own user folder.
TEST(Handover, EachUserFolderReceivesOnlyItsOwnFiles)
{
    Processes processes;
    const QString folder = makeTestFolder();
    struct Home {
        QString path;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        QProcess *window = nullptr;
    };
    Home homes[] = { { folder + "/one" }, { folder + "/two" } };
    for (Home &home : homes) {
        QDir().mkpath(home.path);
        home.environment.insert(QStringLiteral("GLIMMERIX_HOME"), home.path);
        home.environment.insert(QStringLiteral("GLIMMERIX_DEBUG_HANDOVER"), QStringLiteral("1"));
        home.window = &processes.start(glimixProgram(), {}, home.environment);
        ASSERT_TRUE(waitUntilListening(socketPathForHome(home.path))) << qPrintable(home.path);
    }
    EXPECT_NE(socketPathForHome(homes[0].path), socketPathForHome(homes[1].path))
        << qPrintable(socketPathForHome(homes[0].path));
    for (const Home &home : homes) {
        QProcess &second
            = processes.start(glimixProgram(), { home.path + "/picture.jpg" }, home.environment);
        expectHandedOverAndEnded(second);
    }
    for (const Home &home : homes) {
        EXPECT_EQ(waitForLines(*home.window, 1, QProcess::StandardError, "handover: "),
            QStringList { home.path + "/picture.jpg" });
        QTest::qWait(200);
        EXPECT_FALSE(home.window->readAllStandardError().contains("handover: "))
            << "a file of the other user folder arrived too";
        EXPECT_EQ(home.window->state(), QProcess::Running);
    }
}

} // namespace
