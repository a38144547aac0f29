#pragma once

#include "onlinejobs.h"

#include "platform/host.h"

#include <atomic>
#include <functional>

namespace glimmerix
{

// Runs `work` on one worker thread while the calling thread keeps `progress` alive: it shows the
// entry number and name the work reports, lets user input run so Cancel can be pressed, and sets
// the cancel flag the work polls when it is. The messages the work shows are kept and shown by
// the calling thread, in order, after the work has ended. Returns when the work has ended.
// `progress` gets range `count`.
void runOnWorker(Progress &progress, int count,
    const std::function<void(const std::atomic<bool> &cancel, const EntryReport &report)> &work);

} // namespace glimmerix
