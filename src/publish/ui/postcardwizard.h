#pragma once

#include <QString>
#include <QWidget>

#include <functional>

namespace glimmerix
{

// The video postcard wizard (command 32820): refuses to start without "Text.bkg" in the template
// folders (message 50510), else runs the frame, text, clip and destination pages modally over
// `parent` in a private working folder, with `clip` (may be empty) chosen in advance, then brings
// `parent` to the front. `openHelp` opens a help topic.
void runPostcardWizard(
    const QString &clip, QWidget *parent, const std::function<void(int topic)> &openHelp);

} // namespace glimmerix
