// The full-screen window: how it covers the screen, the first slide with its caption, Escape
// during a transition, a picture that cannot be read, and the settings dialog's messages.

#include "publishtesthelpers.h"

#include "core/controlids.h"
#include "core/messageids.h"
#include "publish/ui/presentationdialog.h"
#include "publish/ui/presentationwindow.h"
#include "support/recordinghost.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

QRgb centre(const QImage &image)
{
    return image.pixel(image.width() / 2, image.height() / 2);
}

TEST(PresentationWindow, ShowsFullScreenAndClosesAfterTheDrawingOnEscape)
{
    RecordingHost host;
    const QString folder = makeTestFolder(QStringLiteral("show"));
    QImage red(64, 48, QImage::Format_RGB32);
    red.fill(qRgb(220, 30, 30));
    ASSERT_TRUE(red.save(folder + QStringLiteral("/red.bmp")));
    QWidget mainWindow;
    mainWindow.show();

    PresentationSettings settings;
    settings.transitions = true;
    const QList<SlideRow> slides = { { folder + QStringLiteral("/red.bmp"), "Harbour", {} },
        { folder + QStringLiteral("/missing.bmp"), {}, {} } };
    QPointer<PresentationWindow> window = new PresentationWindow(settings, slides, &mainWindow);
    window->setFixedEffect(1);
    int stepsSeen = 0;
    int escapedAt = -1;
    window->setStepObserver([&](int effect, int step, int steps) {
        EXPECT_EQ(effect, 1);
        ++stepsSeen;
        if (step == steps / 2 && escapedAt < 0) {
            escapedAt = step;
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(window, &escape);
            EXPECT_TRUE(window->isVisible()); // still drawing
        }
    });
    window->start();
    // The whole transition was drawn, then the window closed and the main window came back.
    EXPECT_EQ(stepsSeen, 16);
    EXPECT_GE(escapedAt, 0);
    EXPECT_TRUE(mainWindow.isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
}

TEST(PresentationWindow, FirstSlideAndUnreadablePicture)
{
    RecordingHost host;
    const QString folder = makeTestFolder(QStringLiteral("slides"));
    QImage blue(40, 30, QImage::Format_RGB32);
    blue.fill(qRgb(20, 40, 200));
    ASSERT_TRUE(blue.save(folder + QStringLiteral("/blue.bmp")));
    QWidget mainWindow;
    mainWindow.show();
    PresentationSettings settings;
    settings.transitions = false;
    const QList<SlideRow> slides = { { folder + QStringLiteral("/blue.bmp"), {}, {} },
        { folder + QStringLiteral("/gone.jpg"), {}, {} } };
    auto *window = new PresentationWindow(settings, slides, &mainWindow);
    window->start();
    EXPECT_FALSE(mainWindow.isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Slide Show"));
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(window->cursor().shape(), Qt::BlankCursor);
    // Small pictures are never enlarged: centred, black around.
    EXPECT_EQ(centre(window->screenImage()), qRgb(20, 40, 200));
    EXPECT_EQ(window->screenImage().pixel(0, window->height() - 1), qRgb(0, 0, 0));

    // Enter: the next picture cannot be read, so the screen is black with the message on top.
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(window, &enter);
    EXPECT_EQ(window->schedule().currentSlide(), 1);
    EXPECT_EQ(centre(window->screenImage()), qRgb(0, 0, 0));
    bool captionDrawn = false;
    for (int x = 0; x < window->screenImage().width() && !captionDrawn; ++x) {
        for (int y = 10; y < 40 && !captionDrawn; ++y)
            captionDrawn = window->screenImage().pixel(x, y) == qRgb(255, 255, 255);
    }
    EXPECT_TRUE(captionDrawn);
    window->close();
    EXPECT_TRUE(mainWindow.isVisible());
}

TEST(PresentationDialog, MusicChoiceAndMessages)
{
    RecordingHost host;
    const QList<SlideRow> slides(12, SlideRow { QStringLiteral("/p.jpg"), {}, {} });
    PresentationDialog dialog(PresentationSettings {}, slides, QStringLiteral("Trip"));
    auto *music
        = dialog.findChild<QRadioButton *>(QString::number(PresentationControl::kMusicRadio));
    auto *sounds
        = dialog.findChild<QRadioButton *>(QString::number(PresentationControl::kSoundsRadio));
    auto *browse = dialog.findChild<QPushButton *>(QString::number(PresentationControl::kBrowse));
    auto *seconds = dialog.findChild<QSpinBox *>(QString::number(PresentationControl::kSeconds));
    ASSERT_TRUE(music && sounds && browse && seconds);
    // No picture has a sound, so that choice is off; silence is the start, without Browse.
    EXPECT_FALSE(sounds->isEnabled());
    EXPECT_FALSE(browse->isEnabled());

    music->click();
    EXPECT_TRUE(browse->isEnabled());
    dialog.accept();
    EXPECT_EQ(host.messageIds(), QList<int>({ Message::kNoMusicFile }));
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    // An empty wave file: 50481. Two minutes of music over 12 slides: 10 seconds each.
    const QString folder = makeTestFolder(QStringLiteral("music"));
    const auto wave = [&](const QString &name, int length) {
        const int rate = 8000;
        QByteArray data;
        const auto put32 = [&](quint32 v) { data.append(reinterpret_cast<const char *>(&v), 4); };
        const auto put16 = [&](quint16 v) { data.append(reinterpret_cast<const char *>(&v), 2); };
        data.append("RIFF");
        put32(36 + rate * length);
        data.append("WAVEfmt ");
        put32(16);
        put16(1);
        put16(1);
        put32(rate);
        put32(rate);
        put16(1);
        put16(8);
        data.append("data");
        put32(rate * length);
        data.append(QByteArray(rate * length, char(128)));
        writeFile(folder + u'/' + name, data);
        return folder + u'/' + name;
    };
    host.queueOpenFileNames({ wave(QStringLiteral("empty.wav"), 0) });
    dialog.browseMusic();
    EXPECT_EQ(host.messageIds().last(), Message::kUnusableMusicFile);
    host.queueOpenFileNames({ wave(QStringLiteral("two-minutes.wav"), 120) });
    dialog.browseMusic();
    EXPECT_EQ(seconds->value(), 10);
    saveScreenshotWhenAsked(dialog, QStringLiteral("presentation-settings.png"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.settings().soundMode, SoundMode::Music);
    EXPECT_EQ(dialog.settings().secondsPerSlide, 10);
}

} // namespace
