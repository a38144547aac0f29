// The 82 transition effects: every frame is made of the two pictures only, the new picture's
// share never shrinks, mask effects never take a shown pixel back, nothing is read outside
// either picture, and the last step is exactly the new picture. Sizes are random, odd ones
// included.

#include "publish/transitions.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <set>

using namespace glimmerix;

namespace
{

// A picture of random colours whose red channel tags it: 0 for the old, 255 for the new, so
// every pixel of a frame tells which picture it came from.
QImage taggedPicture(QSize size, int red, QRandomGenerator &random)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            row[x] = qRgb(red, int(random.bounded(256)), int(random.bounded(256)));
    }
    return image;
}

TEST(Transitions, EveryEffectMovesMonotonicallyFromOldToNew)
{
    QRandomGenerator random(20261210);
    const QList<QSize> sizes = { { 1, 1 }, { 2, 3 }, { 17, 9 },
        { int(random.bounded(20, 120)) | 1, int(random.bounded(20, 90)) | 1 },
        { int(random.bounded(60, 200)), int(random.bounded(40, 150)) } };
    for (const QSize size : sizes) {
        const QImage from = taggedPicture(size, 0, random);
        const QImage to = taggedPicture(size, 255, random);
        for (int effect = 0; effect <= kTransitionCount; ++effect) {
            const TransitionInfo &info = transitionInfo(effect);
            const int steps = info.steps;
            QImage screen = from.copy();
            qint64 previousNew = 0;
            takeTransitionOutsideReads();
            for (int step = 0; step < steps; ++step) {
                const QImage before = screen.copy();
                drawTransitionStep(effect, from, to, step, steps, screen);
                // Step by step the screen is what the frame function gives.
                ASSERT_EQ(screen, transitionFrame(effect, from, to, step, steps))
                    << info.name << " step " << step << " at " << size.width() << "x"
                    << size.height();
                qint64 newPixels = 0;
                for (int y = 0; y < size.height(); ++y) {
                    for (int x = 0; x < size.width(); ++x) {
                        const QRgb pixel = screen.pixel(x, y);
                        const bool isNew = qRed(pixel) == 255;
                        newPixels += isNew;
                        if (info.kind != TransitionKind::Mask)
                            continue;
                        // A mask effect shows each picture in place, and a pixel once new
                        // stays new.
                        ASSERT_EQ(pixel, isNew ? to.pixel(x, y) : from.pixel(x, y))
                            << info.name << " step " << step;
                        if (qRed(before.pixel(x, y)) == 255) {
                            ASSERT_TRUE(isNew) << info.name << " step " << step;
                        }
                    }
                }
                EXPECT_GE(newPixels, previousNew) << info.name << " step " << step;
                previousNew = newPixels;
            }
            EXPECT_EQ(screen, to) << info.name;
            EXPECT_EQ(takeTransitionOutsideReads(), 0) << info.name;
        }
    }
}

TEST(Transitions, TableAndTiming)
{
    // Every effect has its own name and draws in steps; numbers outside the table are the copy.
    std::set<std::string> names;
    for (int effect = 1; effect <= kTransitionCount; ++effect) {
        EXPECT_GT(transitionInfo(effect).steps, 1) << effect;
        names.insert(transitionInfo(effect).name);
    }
    EXPECT_EQ(names.size(), std::size_t(kTransitionCount));
    EXPECT_STREQ(transitionInfo(kTransitionCount + 1).name, transitionInfo(0).name);

    // The waits add up to the effect time however it divides.
    for (const auto &[total, steps] : { std::pair { 100, 16 }, { 100, 3 }, { 7, 12 } }) {
        int sum = 0;
        for (int step = 0; step < steps; ++step) {
            sum += stepWaitMs(total, step, steps);
            EXPECT_EQ(sum, stepDeadlineMs(total, step, steps));
        }
        EXPECT_EQ(sum, total);
    }
    EXPECT_EQ(stepWaitMs(100, 0, 16), 6);
    EXPECT_EQ(stepWaitMs(100, 1, 16), 6);
    EXPECT_EQ(stepWaitMs(100, 2, 16), 6);
    EXPECT_EQ(stepWaitMs(100, 3, 16), 7);
}

} // namespace
