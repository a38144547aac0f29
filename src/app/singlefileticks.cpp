#include "singlefileticks.h"

namespace glimmerix
{

SingleFileTicks::Step SingleFileTicks::tick(bool exitRequested)
{
    Step step;
    if (m_counter < kHideTicks) {
        step.hideFrame = true;
        ++m_counter;
        return step;
    }
    step.postExit = exitRequested;
    if (m_counter < kOpenTick && ++m_counter == kOpenTick) {
        m_counter = kDone;
        step.openItem = true;
    }
    return step;
}

} // namespace glimmerix
