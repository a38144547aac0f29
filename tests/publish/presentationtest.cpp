// The presentation's schedule on a simulated clock, the fit rule, the colour reduction and the
// caption.

#include "publish/presentationframe.h"
#include "publish/presentationschedule.h"

#include <QFont>
#include <QHash>
#include <QPainter>

#include <gtest/gtest.h>

#include <functional>

using namespace glimmerix;

namespace
{

// A window stand-in on a simulated clock: records when each slide came up and runs the timer
// and the sounds by the clock.
class ClockedOutput final : public PresentationOutput
{
public:
    qint64 now = 0;
    int period = 0; // 0: the timer is stopped
    qint64 nextTick = 0;
    qint64 soundEnds = -1; // -1: no sound playing
    QHash<QString, int> soundSeconds;
    QList<std::pair<qint64, int>> shown; // (time, slide)
    QStringList played;
    bool closed = false;
    qint64 closedAt = -1;
    std::function<void(int)> whileDrawing;

    void showSlide(int index) override
    {
        shown.append({ now, index });
        if (whileDrawing)
            whileDrawing(index);
    }
    void startSlideTimer(int periodMs) override
    {
        period = periodMs;
        nextTick = now + periodMs;
    }
    void stopSlideTimer() override { period = 0; }
    bool playSound(const QString &path) override
    {
        played << path;
        soundEnds = now + qint64(soundSeconds.value(path, 0)) * 1000;
        return true;
    }
    void stopSound() override { soundEnds = -1; }
    bool soundPlaying() const override { return soundEnds > now; }
    void closeShow() override
    {
        closed = true;
        closedAt = now;
    }

    // Runs the clock until `until` or the show closes, delivering ticks and sound ends.
    void run(PresentationSchedule &schedule, qint64 until)
    {
        while (!closed && now < until) {
            const qint64 tick = period > 0 ? nextTick : INT64_MAX;
            const qint64 end = soundEnds >= 0 && soundEnds > now - 1 ? soundEnds : INT64_MAX;
            const qint64 next = std::min({ tick, end, until });
            now = next;
            if (next == end && end != INT64_MAX) {
                soundEnds = -1;
                schedule.soundEnded();
            } else if (next == tick) {
                nextTick += period;
                schedule.tick();
            }
        }
    }
};

QList<SlideRow> slides(int count, const QStringList &sounds = {})
{
    QList<SlideRow> rows;
    for (int i = 0; i < count; ++i)
        rows.append({ QStringLiteral("/p/%1.jpg").arg(i), {}, sounds.value(i) });
    return rows;
}

PresentationSettings settingsWith(SoundMode mode, int seconds, bool loop)
{
    PresentationSettings settings;
    settings.soundMode = mode;
    settings.secondsPerSlide = seconds;
    settings.loop = loop;
    settings.musicFile = QStringLiteral("/music.wav");
    return settings;
}

TEST(PresentationSchedule, SlideTimesAndLooping)
{
    const struct {
        const char *name;
        SoundMode mode;
        int seconds;
        bool loop;
        int slideCount;
        qint64 runMs;
        QList<std::pair<qint64, int>> shown;
        qint64 closedAt; // -1: still open
    } cases[] = {
        // Silent: ten ticks of 400 ms, so a 5-second slide stays 4 seconds.
        { "silent, no loop", SoundMode::Silent, 5, false, 3, 60000,
            { { 0, 0 }, { 4000, 1 }, { 8000, 2 } }, 12000 },
        { "silent, loop", SoundMode::Silent, 5, true, 2, 12000,
            { { 0, 0 }, { 4000, 1 }, { 8000, 0 }, { 12000, 1 } }, -1 },
        // Music of 30 s over 3 slides of 10 s: one tick per slide; the music ends with the
        // last slide, so without loop the show closes at the next tick.
        { "music, no loop", SoundMode::Music, 10, false, 3, 60000,
            { { 0, 0 }, { 10000, 1 }, { 20000, 2 } }, 30000 },
        { "music, loop", SoundMode::Music, 10, true, 2, 45000,
            { { 0, 0 }, { 10000, 1 }, { 30000, 0 }, { 40000, 1 } }, -1 },
    };
    for (const auto &c : cases) {
        ClockedOutput output;
        output.soundSeconds.insert(QStringLiteral("/music.wav"), 30);
        PresentationSchedule schedule(
            settingsWith(c.mode, c.seconds, c.loop), slides(c.slideCount), output);
        schedule.start();
        output.run(schedule, c.runMs);
        EXPECT_EQ(output.shown, c.shown) << c.name;
        EXPECT_EQ(output.closedAt, c.closedAt) << c.name;
        if (c.mode == SoundMode::Silent) {
            EXPECT_EQ(schedule.tickPeriodMs(), c.seconds * 80) << c.name;
        }
    }
}

TEST(PresentationSchedule, PictureSoundsWaitForEachSoundToEnd)
{
    ClockedOutput output;
    output.soundSeconds.insert(QStringLiteral("/a.wav"), 7);
    output.soundSeconds.insert(QStringLiteral("/c.wav"), 2);
    PresentationSchedule schedule(settingsWith(SoundMode::PictureSounds, 5, false),
        slides(3, { QStringLiteral("/a.wav"), {}, QStringLiteral("/c.wav") }), output);
    schedule.start();
    output.run(schedule, 60000);
    // Slide 0 lasts its 7-second sound; slide 1 has none and takes ten timer ticks (4 s);
    // slide 2 its 2-second sound, then the show ends.
    EXPECT_EQ(
        output.shown, (QList<std::pair<qint64, int>> { { 0, 0 }, { 7000, 1 }, { 11000, 2 } }));
    EXPECT_EQ(output.played, QStringList({ "/a.wav", "/c.wav" }));
    EXPECT_EQ(output.closedAt, 13000);
}

TEST(PresentationSchedule, KeysAndEventsDuringDrawing)
{
    ClockedOutput output;
    PresentationSchedule schedule(settingsWith(SoundMode::Silent, 5, true), slides(3), output);
    schedule.start();
    // Enter shows the next slide at once and starts its count of ticks afresh.
    output.run(schedule, 1000);
    schedule.nextRequested();
    output.run(schedule, 5000);
    EXPECT_EQ(output.shown, (QList<std::pair<qint64, int>> { { 0, 0 }, { 1000, 1 }, { 4800, 2 } }));

    // Escape while a slide is being drawn closes only once the drawing is done.
    bool closedWhileDrawing = true;
    output.whileDrawing = [&](int) {
        schedule.closeRequested();
        schedule.tick();
        closedWhileDrawing = output.closed;
    };
    schedule.nextRequested();
    EXPECT_FALSE(closedWhileDrawing);
    EXPECT_TRUE(output.closed);
    EXPECT_EQ(output.shown.last().second, 0);
    EXPECT_TRUE(schedule.isClosed());
}

TEST(PresentationFrame, FitNeverEnlarges)
{
    const struct {
        QSize picture, area, fitted;
    } cases[] = {
        { { 100, 50 }, { 1920, 1080 }, { 100, 50 } }, // small: as it is
        { { 4000, 3000 }, { 1920, 1080 }, { 1440, 1080 } }, // height limits
        { { 4000, 1000 }, { 1920, 1080 }, { 1920, 480 } }, // width limits
        { { 3000, 100 }, { 1920, 1080 }, { 1920, 64 } },
        { { 1, 5000 }, { 800, 600 }, { 1, 600 } }, // never narrower than a pixel
        { { 0, 10 }, { 800, 600 }, {} },
    };
    for (const auto &c : cases)
        EXPECT_EQ(fitPictureSize(c.picture, c.area), c.fitted) << c.picture.width();

    // Centred on black: the borders stay black.
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(qRgb(200, 100, 50));
    const QImage frame = composeSlide(picture, { 100, 60 }, 32);
    EXPECT_EQ(frame.pixel(30, 20), qRgb(200, 100, 50));
    EXPECT_EQ(frame.pixel(69, 39), qRgb(200, 100, 50));
    EXPECT_EQ(frame.pixel(29, 20), qRgb(0, 0, 0));
    EXPECT_EQ(frame.pixel(30, 40), qRgb(0, 0, 0));
}

TEST(PresentationFrame, ColourReductionByScreenDepth)
{
    QImage image(3, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(26, 25, 130));
    image.setPixel(1, 0, qRgb(255, 0, 0));
    image.setPixel(2, 0, qRgb(190, 190, 190));
    EXPECT_EQ(reduceToScreenDepth(image, 24), image);
    const QImage cube = reduceToScreenDepth(image, 8);
    EXPECT_EQ(cube.pixel(0, 0), qRgb(51, 0, 153));
    EXPECT_EQ(cube.pixel(2, 0), qRgb(204, 204, 204));
    const QImage sixteen = reduceToScreenDepth(image, 4);
    EXPECT_EQ(sixteen.pixel(1, 0), qRgb(255, 0, 0));
    EXPECT_EQ(sixteen.pixel(2, 0), qRgb(192, 192, 192));
}

TEST(PresentationFrame, CaptionDrawnTwiceNearTheTop)
{
    QImage frame(400, 100, QImage::Format_RGB32);
    frame.fill(qRgb(128, 128, 128));
    QFont font;
    font.setPixelSize(20);
    drawCaption(frame, QStringLiteral("Harbour"), font);
    // White and black both appear, both in the band the caption takes; below it nothing.
    bool white = false;
    bool black = false;
    int lowest = 0;
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            const QRgb pixel = frame.pixel(x, y);
            white |= pixel == qRgb(255, 255, 255);
            black |= pixel == qRgb(0, 0, 0);
            if (pixel != qRgb(128, 128, 128))
                lowest = y;
        }
    }
    EXPECT_TRUE(white);
    EXPECT_TRUE(black);
    EXPECT_GE(lowest, 12);
    EXPECT_LT(lowest, 12 + QFontMetrics(font).height());
}

} // namespace
