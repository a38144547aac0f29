// Players on a machine without a sound output: a clip with sound shows its pictures silently
// instead of bringing the program down.

#include "support/processrun.h"
#include "support/testenvironment.h"

#include "media/playeroutput.h"
#include "media/ui/clipplayerwindow.h"
#include "media/ui/soundplayerwindow.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QMediaPlayer>
#include <QProcess>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace glimmerix;

namespace
{

TEST(SoundlessPlayback, EveryPlayerWindowPlaysAClipWithSoundOnWhateverOutputThereIs)
{
    // The program plays clips and sounds through Qt Multimedia's FFmpeg backend.
    qputenv("QT_MEDIA_BACKEND", "ffmpeg");
    const QString clip = fixturePath(QStringLiteral("media/sound-clip.avi"));
    const bool haveOutput = !soundOutputDevice().isNull();
    struct Row {
        const char *name;
        std::function<std::unique_ptr<QWidget>()> open;
        bool showsPictures; // the clip's pictures drive its clock even without sound
    };
    const Row rows[] = {
        { "clip window",
            [&] {
                return std::make_unique<ClipPlayerWindow>(clip, QStringLiteral("Clip"), nullptr);
            },
            true },
        { "sound window",
            [&] {
                auto window = std::make_unique<SoundPlayerWindow>(nullptr);
                window->play(clip);
                return window;
            },
            false },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const std::unique_ptr<QWidget> window = row.open();
        window->show();
        auto *player = window->findChild<QMediaPlayer *>();
        ASSERT_NE(player, nullptr);
        // Sound goes to the machine's output when it has one; without one the player gets no
        // audio output at all (one without a device behind it crashes the FFmpeg backend).
        EXPECT_EQ(player->audioOutput() != nullptr, haveOutput);
        if (player->audioOutput()) {
            EXPECT_EQ(player->audioOutput()->device(), soundOutputDevice());
        }
        if (row.showsPictures) {
            QTRY_VERIFY_WITH_TIMEOUT(player->position() > 500, 10000);
        } else {
            QTest::qWait(2500); // long enough for the sound to start, and with it the crash
        }
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(player->error(), QMediaPlayer::NoError) << qPrintable(player->errorString());
        player->stop();
    }
}

// The postcard player (its own program) plays the postcard's clip with its sound for a while
// instead of crashing as soon as the sound starts.
TEST(SoundlessPlayback, ThePostcardPlayerPlaysAClipWithSound)
{
    const QString out = makeTestFolder(QStringLiteral("card"));
    const ProcessRun made
        = runCli({ QStringLiteral("postcard"), fixturePath(QStringLiteral("media/sound-clip.avi")),
            out, QStringLiteral("--frame"), QStringLiteral("Celebrations:0") });
    ASSERT_EQ(made.status, 0) << qPrintable(made.err);
    QProcess player;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    player.setProcessEnvironment(environment);
    player.start(out + QStringLiteral("/VideoPostcard.exe"), {});
    ASSERT_TRUE(player.waitForStarted(10000));
    // The clip lasts two seconds and loops: four seconds cover its sound more than once.
    EXPECT_FALSE(player.waitForFinished(4000))
        << "the player ended: " << player.readAllStandardError().constData();
    EXPECT_EQ(player.state(), QProcess::Running);
    player.kill();
    player.waitForFinished(5000);
}

} // namespace
