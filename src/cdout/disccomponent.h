#pragma once

#include <QString>

#include <functional>

namespace glimmerix
{

// Our disc component: the document object the automation CD job asks for, registered under the
// job's first program identifier, so "CD" always works here. Files go into a DiscLayout; the
// recording call asks where to record (an image file or a writer) and makes the disc there.

// Where a disc is recorded.
struct DiscTarget {
    enum class Kind { None, ImageFile, Writer };
    Kind kind = Kind::None; // None: the user declined
    QString path; // the image file, or the writer's address
};

// What the choice of a target may show: the disc's estimated size and what the disc holds.
struct DiscSummary {
    qint64 neededBytes = 0;
    qint64 capacityBytes = 0;
};

using DiscTargetChooser = std::function<DiscTarget(const DiscSummary &)>;

// 80-minute CD-R, in 2048-byte blocks.
inline constexpr qint64 kCdCapacityBlocks = 359848;

// Process-wide settings of the component: how the target is chosen (the program installs a
// dialog, the command line a fixed target) and the disc capacity in blocks.
DiscTargetChooser setDiscTargetChooser(DiscTargetChooser chooser);
qint64 setDiscCapacityBlocks(qint64 blocks);
qint64 discCapacityBlocks();

// The result of the component's last recording (for callers that report it themselves).
struct DiscRecordResult {
    bool written = false;
    DiscTarget target;
    qint64 imageBytes = 0;
    QString problem; // empty when written or declined
};
DiscRecordResult lastDiscRecord();

// Registers the component under the automation job's program identifier (once; again after a
// test unregistered it).
void registerDiscComponent();

} // namespace glimmerix
