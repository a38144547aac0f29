// The recorder dialog over the fake device: buttons follow the recorder, the status line shows
// its text, and an album target renames the save button and closes the dialog after saving.

#include "media/ui/soundrecorderdialog.h"
#include "media/soundrecorder.h"

#include "fakeaudio.h"
#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

QPushButton *button(SoundRecorderDialog &dialog, const char *name)
{
    return dialog.findChild<QPushButton *>(QLatin1String(name));
}

TEST(SoundRecorderDialog, RecordsAndSavesForTheAlbum)
{
    RecordingHost host;
    FakeAudioBackend backend;
    SoundRecorderDialog dialog(makeTestFolder(QStringLiteral("AUDIO")));
    QStringList attached;
    dialog.setAlbumTarget([&attached](const QString &path) {
        attached.append(path);
        return true;
    });
    dialog.show();
    EXPECT_EQ(button(dialog, "save")->text(), QStringLiteral("Save to Album"));
    EXPECT_TRUE(button(dialog, "record")->isEnabled());
    EXPECT_FALSE(button(dialog, "play")->isEnabled());
    EXPECT_EQ(dialog.findChild<QLabel *>(QStringLiteral("formatText"))->text(),
        QStringLiteral("PCM: 11025 Hz, 8 Bit, Mono"));

    button(dialog, "record")->click();
    EXPECT_FALSE(button(dialog, "record")->isEnabled());
    EXPECT_TRUE(button(dialog, "stop")->isEnabled());
    backend.capture(QByteArray(11025, '\x80'));
    button(dialog, "stop")->click();
    EXPECT_EQ(dialog.findChild<QLabel *>(QStringLiteral("status"))->text(),
        QStringLiteral("Stopped - 11025 bytes, 1.0 seconds"));
    EXPECT_TRUE(button(dialog, "save")->isEnabled());

    const QString path = dialog.recorder().audioFolder() + QStringLiteral("/one.wav");
    host.queueSaveFileName(path);
    button(dialog, "save")->click();
    EXPECT_EQ(attached, QStringList { path });
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(host.messageIds().isEmpty());
}

} // namespace
