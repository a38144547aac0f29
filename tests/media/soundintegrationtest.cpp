// End to end through real sound devices: a PulseAudio server with a null sink and a null source,
// started and stopped by the test. Skipped with a reason when the server cannot start.

#include "album/albumdoc.h"
#include "album/albumitem.h"
#include "media/qtaudiobackend.h"
#include "media/wavefile.h"
#include "media/waveplayer.h"

#include "support/processrun.h"
#include "support/recordinghost.h"
#include "support/testenvironment.h"
#include "wavetestsupport.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QThread>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

// One server for the whole suite: Qt Multimedia keeps its connection to the first server it met
// for the life of the process.
class PulseServerTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty()) {
            s_skipReason = "pulseaudio is not installed (tools/setup.sh installs it)";
            return;
        }
        const QString runtime = makeTestFolder(QStringLiteral("pulse"));
        const QString socket = runtime + QStringLiteral("/native");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        environment.insert(QStringLiteral("HOME"), runtime);
        s_server = new QProcess;
        s_server->setProcessEnvironment(environment);
        s_server->setProcessChannelMode(QProcess::MergedChannels);
        s_server->start(QStringLiteral("pulseaudio"),
            { "-n", "--daemonize=no", "--exit-idle-time=-1", "--disable-shm=yes",
                "--use-pid-file=no", "-L", "module-null-sink", "-L", "module-null-source", "-L",
                QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=%1")
                    .arg(socket) });
        const QDeadlineTimer deadline(10000);
        while (!QFileInfo::exists(socket) && s_server->state() != QProcess::NotRunning
            && !deadline.hasExpired())
            s_server->waitForReadyRead(50);
        if (!QFileInfo::exists(socket)) {
            s_skipReason = "the PulseAudio server did not start: "
                + s_server->readAll().left(400).toStdString();
            return;
        }
        // This process and the programs it starts talk to the private server only.
        qputenv("PULSE_SERVER", QByteArray("unix:") + socket.toLocal8Bit());
    }

    static void TearDownTestSuite()
    {
        if (s_server && s_server->state() != QProcess::NotRunning) {
            s_server->terminate();
            if (!s_server->waitForFinished(5000))
                s_server->kill();
            s_server->waitForFinished(5000);
        }
        delete s_server;
        s_server = nullptr;
    }

    void SetUp() override
    {
        if (!s_skipReason.empty())
            GTEST_SKIP() << s_skipReason;
        m_previous = setAudioBackend(&m_backend);
    }

    void TearDown() override { setAudioBackend(m_previous); }

    // Plays `path` through WaveFile::play; returns the seconds it took to finish.
    double playToTheEnd(WaveFile &wave, const QString &path)
    {
        QElapsedTimer clock;
        clock.start();
        EXPECT_TRUE(wave.play(path)) << wave.errorDetail().toStdString();
        if (!wave.player())
            return 0;
        QSignalSpy finished(wave.player(), &WavePlayer::finished);
        const int limitMs = int(wave.durationSeconds() * 1000) + 15000;
        if (wave.player()->isPlaying()) {
            EXPECT_TRUE(finished.wait(limitMs));
        }
        return double(clock.elapsed()) / 1000.0;
    }

    static inline QProcess *s_server = nullptr;
    static inline std::string s_skipReason;
    QtAudioBackend m_backend;
    AudioBackend *m_previous = nullptr;
};

// Record 2 s with the command-line tool, check the file with sox, attach it to an item and play
// it back to its end.
TEST_F(PulseServerTest, RecordSaveAttachAndPlayBack)
{
    RecordingHost host;
    const QString folder = makeTestFolder(QStringLiteral("recorded"));
    const QString path = folder + QStringLiteral("/two.wav");
    const ProcessRun cli = runCli({ "sound", "record", path, "--seconds", "2" }, { {}, 30000 });
    ASSERT_EQ(cli.status, 0) << cli.err.toStdString();

    if (!runTool(QStringLiteral("soxi"), { path }).isEmpty()) {
        EXPECT_EQ(runTool(QStringLiteral("soxi"), { "-r", path }), QStringLiteral("11025"));
        EXPECT_EQ(runTool(QStringLiteral("soxi"), { "-c", path }), QStringLiteral("1"));
        EXPECT_EQ(runTool(QStringLiteral("soxi"), { "-b", path }), QStringLiteral("8"));
        EXPECT_NEAR(runTool(QStringLiteral("soxi"), { "-D", path }).toDouble(), 2.0, 0.3);
    }

    CAlbumDoc album;
    writeFile(folder + QStringLiteral("/item.txt"), "an item to attach the sound to");
    ASSERT_EQ(album.addFile(folder + QStringLiteral("/item.txt")), 1);
    album.setAttachmentPath(0, path);

    WaveFile wave;
    const double seconds = playToTheEnd(wave, album.item(0)->attachmentPath());
    EXPECT_NEAR(wave.durationSeconds(), 2.0, 0.3);
    EXPECT_EQ(wave.player()->bytesPlayed(), wave.dataLength());
    EXPECT_GE(seconds, wave.durationSeconds() - 0.1);
    EXPECT_TRUE(host.messageIds().isEmpty());
}

// A sound longer than both playback buffers: the third buffer plays to its end too.
TEST_F(PulseServerTest, PlaysTheLastBufferToItsEnd)
{
    RecordingHost host;
    const QString path = makeTestFolder() + QStringLiteral("/long.wav");
    if (runTool(QStringLiteral("sox"),
            { "-n", "-r", "44100", "-b", "16", "-c", "2", path, "synth", "3.5", "sine", "440" })
            .isEmpty())
        GTEST_SKIP() << "sox is not installed";
    WaveFile wave;
    const double seconds = playToTheEnd(wave, path);
    ASSERT_EQ(wave.dataLength(), 617400);
    EXPECT_EQ(wave.player()->bytesPlayed(), 617400);
    EXPECT_GE(seconds, 3.4);
    EXPECT_TRUE(host.messageIds().isEmpty());
}

} // namespace
