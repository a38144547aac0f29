// The sound recorder over the fake device: set-up, the format choice, recording through the two
// capture buffers, playback, saving and closing.

#include "media/soundrecorder.h"
#include "media/wavefile.h"

#include "fakeaudio.h"
#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

using Buttons = SoundRecorder::Buttons;

class SoundRecorderTest : public ::testing::Test
{
protected:
    // Records `bytes` (in pieces of 10000, plus `onStop` handed back when stopping).
    void recordBytes(
        SoundRecorder &recorder, const QByteArray &bytes, const QByteArray &onStop = {})
    {
        ASSERT_TRUE(recorder.record());
        for (qsizetype at = 0; at < bytes.size(); at += 10000)
            backend.capture(bytes.mid(at, 10000));
        backend.captureOnStop = onStop;
        recorder.stop();
    }

    RecordingHost host;
    FakeAudioBackend backend;
    QString folder = makeTestFolder(QStringLiteral("AUDIO"));
};

TEST_F(SoundRecorderTest, StartsWithTheDefaultFormatAndOnlyRecordAndFormat)
{
    SoundRecorder recorder(folder);
    ASSERT_TRUE(recorder.setUp());
    EXPECT_EQ(recorder.format(), WaveFormat::pcm(11025, 8, 1));
    EXPECT_EQ(recorder.format().avgBytesPerSec, 11025u);
    EXPECT_EQ(recorder.maximumFormatSize(), 18);
    EXPECT_EQ(recorder.formatBlock().size(), 18);
    EXPECT_EQ(recorder.formatText(), QStringLiteral("PCM: 11025 Hz, 8 Bit, Mono"));
    EXPECT_EQ(recorder.buttons(), (Buttons { true, false, false, true, false }));
    EXPECT_TRUE(recorder.temporaryPath().isEmpty()); // the first recording makes its own file
    EXPECT_EQ(recorder.statusText(), QStringLiteral("Stopped - 0 bytes, 0.0 seconds"));
    EXPECT_TRUE(host.messageIds().isEmpty());
}

TEST_F(SoundRecorderTest, SetUpFailuresShowTheirMessages)
{
    backend.input = false;
    SoundRecorder withoutInput(folder);
    EXPECT_TRUE(withoutInput.setUp()); // the dialog still opens; recording reports the device
    EXPECT_EQ(host.messageIds(), QList<int> { 50397 });
    EXPECT_FALSE(withoutInput.record());
    EXPECT_EQ(host.messageIds(), (QList<int> { 50397, 50399 }));

    host.clear();
    backend.input = true;
    backend.capabilities = {};
    SoundRecorder nothingOffered(folder);
    EXPECT_FALSE(nothingOffered.setUp());
    EXPECT_EQ(host.messageIds(), QList<int> { 50396 });
    EXPECT_EQ(nothingOffered.buttons(), Buttons {});
}

TEST_F(SoundRecorderTest, ChoosingTheSameFormatChangesNothing)
{
    SoundRecorder recorder(folder);
    ASSERT_TRUE(recorder.setUp());
    EXPECT_EQ(recorder.offeredFormats().size(), 4 * 2 * 2);
    EXPECT_FALSE(recorder.chooseFormat(WaveFormat::pcm(11025, 8, 1)));
    EXPECT_FALSE(recorder.chooseFormat(WaveFormat::pcm(96000, 8, 1))); // not offered
    EXPECT_EQ(recorder.format(), WaveFormat::pcm(11025, 8, 1));
    EXPECT_TRUE(recorder.chooseFormat(WaveFormat::pcm(22050, 16, 2)));
    EXPECT_EQ(recorder.formatText(), QStringLiteral("PCM: 22050 Hz, 16 Bit, Stereo"));
    EXPECT_EQ(recorder.formatBlock().size(), 18);
    EXPECT_EQ(recorder.captureBufferLength(), 32000);
}

TEST_F(SoundRecorderTest, RecordsEveryCapturedByteThroughTheTwoBuffers)
{
    SoundRecorder recorder(folder);
    ASSERT_TRUE(recorder.setUp());
    ASSERT_TRUE(recorder.chooseFormat(WaveFormat::pcm(8000, 16, 1)));
    QByteArray sound(100000, '\0');
    for (int i = 0; i < sound.size(); ++i)
        sound[i] = char(i % 251);
    ASSERT_TRUE(recorder.record());
    EXPECT_EQ(recorder.buttons(), (Buttons { false, false, true, false, false }));
    EXPECT_TRUE(recorder.timerRunning());
    backend.capture(sound.left(50000));
    // One full buffer has reached the file, the second is filling.
    EXPECT_EQ(QFileInfo(recorder.temporaryPath()).size(), 32000);
    EXPECT_EQ(recorder.statusText(), QStringLiteral("Recording - 50000 bytes, 3.1 seconds"));
    backend.capture(sound.mid(50000, 49990));
    backend.captureOnStop = sound.right(10);
    recorder.stop();
    EXPECT_FALSE(recorder.timerRunning());
    EXPECT_EQ(recorder.recordedLength(), 100000);
    EXPECT_EQ(fileBytes(recorder.temporaryPath()), sound);
    EXPECT_EQ(recorder.buttons(), (Buttons { true, true, false, true, true }));
    EXPECT_EQ(recorder.statusText(), QStringLiteral("Stopped - 100000 bytes, 6.3 seconds"));

    // Playback goes through the player from the temporary file.
    ASSERT_TRUE(recorder.play());
    EXPECT_EQ(recorder.state(), SoundRecorder::State::Playing);
    EXPECT_EQ(recorder.buttons(), (Buttons { false, false, true, false, false }));
    backend.playAll();
    EXPECT_EQ(backend.played, sound);
    EXPECT_EQ(backend.openedFormat, WaveFormat::pcm(8000, 16, 1));
    EXPECT_EQ(recorder.state(), SoundRecorder::State::Idle);
    EXPECT_EQ(recorder.buttons(), (Buttons { true, true, false, true, true }));
}

TEST_F(SoundRecorderTest, SavesTheRecordingAndAddsItToTheAlbum)
{
    SoundRecorder recorder(folder);
    ASSERT_TRUE(recorder.setUp());
    QStringList added;
    recorder.setAlbumTarget([&added](const QString &path) {
        added.append(path);
        return true;
    });
    int closeRequests = 0;
    QObject::connect(
        &recorder, &SoundRecorder::closeRequested, [&closeRequests] { ++closeRequests; });
    recordBytes(recorder, QByteArray(22050, char(0x80)));
    // A format chosen now is for the next recording; this one keeps its own.
    ASSERT_TRUE(recorder.chooseFormat(WaveFormat::pcm(44100, 16, 2)));
    EXPECT_TRUE(recorder.buttons().save);
    host.queueSaveFileName(folder + QStringLiteral("/hello"));
    ASSERT_TRUE(recorder.saveAs());
    const QString saved = folder + QStringLiteral("/hello.wav");
    EXPECT_EQ(host.saveQuestions().first().proposedPath, folder + u'/');
    WaveFile wave;
    ASSERT_TRUE(wave.load(saved));
    EXPECT_EQ(wave.format(), WaveFormat::pcm(11025, 8, 1));
    EXPECT_EQ(wave.dataLength(), 22050);
    EXPECT_EQ(added, QStringList { saved });
    EXPECT_TRUE(recorder.itemAdded());
    EXPECT_EQ(closeRequests, 1);
    EXPECT_FALSE(QFile::exists(recorder.temporaryPath()));
    EXPECT_FALSE(recorder.hasUnsavedRecording());
    EXPECT_EQ(recorder.buttons(), (Buttons { true, false, false, true, false }));
    EXPECT_TRUE(recorder.close());
    EXPECT_TRUE(host.messageIds().isEmpty());
}

TEST_F(SoundRecorderTest, SavingNothingShows50475AndWritesNoFile)
{
    SoundRecorder recorder(folder);
    ASSERT_TRUE(recorder.setUp());
    const QString path = folder + QStringLiteral("/nothing.wav");
    EXPECT_FALSE(recorder.save(path));
    recordBytes(recorder, {}); // started and stopped at once
    EXPECT_FALSE(recorder.save(path));
    EXPECT_EQ(host.messageIds(), (QList<int> { 50475, 50475 }));
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(SoundRecorderTest, AFailedSaveKeepsTheRecording)
{
    SoundRecorder recorder(folder);
    ASSERT_TRUE(recorder.setUp());
    const QByteArray sound(5000, 'r');
    recordBytes(recorder, sound);
    EXPECT_FALSE(recorder.save(folder + QStringLiteral("/no/such/folder/x.wav")));
    EXPECT_EQ(host.messageIds(), QList<int> { 50476 });
    EXPECT_EQ(fileBytes(recorder.temporaryPath()), sound);
    EXPECT_TRUE(recorder.hasUnsavedRecording());
    EXPECT_TRUE(recorder.buttons().save);

    // Closing asks 59400; OK with a save that cannot be made keeps the dialog and the recording.
    host.clear();
    host.queueAnswer(MessageAnswer::Ok);
    host.queueSaveFileName(folder + QStringLiteral("/no/such/folder/y.wav"));
    EXPECT_FALSE(recorder.close());
    EXPECT_EQ(host.messageIds(), (QList<int> { 59400, 50476 }));
    EXPECT_EQ(host.shown().first().buttons, MessageButtons::OkCancel);
    EXPECT_EQ(fileBytes(recorder.temporaryPath()), sound);

    // Cancel discards it, as the question says.
    host.queueAnswer(MessageAnswer::Cancel);
    EXPECT_TRUE(recorder.close());
    EXPECT_FALSE(QFile::exists(recorder.temporaryPath()));
}

TEST_F(SoundRecorderTest, ClosingWithAnUnsavedRecordingSavesOnOk)
{
    SoundRecorder recorder(folder);
    ASSERT_TRUE(recorder.setUp());
    recordBytes(recorder, QByteArray(3000, 'a'), "tail");
    host.queueAnswer(MessageAnswer::Ok);
    host.queueSaveFileName(folder + QStringLiteral("/kept.wav"));
    EXPECT_TRUE(recorder.close());
    EXPECT_EQ(host.messageIds(), QList<int> { 59400 });
    WaveFile wave;
    ASSERT_TRUE(wave.load(folder + QStringLiteral("/kept.wav")));
    EXPECT_EQ(wave.dataLength(), 3004);
}

} // namespace
