#pragma once

#include <QImage>

namespace glimmerix
{

// The presentation's transition effects: 82 ways of turning the screen from one slide into the
// next, numbered 1 to 82 (0 is the plain copy). Each effect draws in steps; step i of n shows the
// new picture over a share (i + 1) / n of the way, and the last step shows exactly the new
// picture. Frames are 32-bit RGB images, all three of the same size.

inline constexpr int kTransitionCount = 82;

enum class TransitionKind {
    Mask, // each pixel shows the old picture until its turn comes, then the new one
    Motion, // the pictures move (slides, pushes): pixels show moved parts of either picture
};

struct TransitionInfo {
    const char *name;
    int steps;
    TransitionKind kind;
};

// The effect's name, step count and kind; effect 0 for a number outside 0 to 82.
const TransitionInfo &transitionInfo(int effect);

// Draws step `step` (0 to steps - 1) of `effect` onto `screen`, which shows the frame of the step
// before (the old picture before step 0). A step may draw only what changed in it (a dissolve
// shows just the blocks whose turn came), so each step is cheap and all of them together cost
// about one full frame for the fine-grained effects.
void drawTransitionStep(
    int effect, const QImage &from, const QImage &to, int step, int steps, QImage &screen);

// The frame after step `step` of `steps`: `from` with steps 0 to `step` drawn onto it.
QImage transitionFrame(int effect, const QImage &from, const QImage &to, int step, int steps);

// When step `step` of `steps` should be on the screen, counted from the start of a transition
// of `totalMs` milliseconds, and how long the step waits: totalMs x (step + 1) / steps minus
// totalMs x step / steps, so all the steps together take exactly totalMs.
int stepDeadlineMs(int totalMs, int step, int steps);
int stepWaitMs(int totalMs, int step, int steps);

// Reads of a moved picture that would have fallen outside it (and were cut off) since the last
// call, counted on this thread. An effect's geometry should never ask for one.
int takeTransitionOutsideReads();

} // namespace glimmerix
