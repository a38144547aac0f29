#pragma once

#include <QString>
#include <QWidget>

#include <functional>

namespace glimmerix
{

class AppSettings;

// The video postcard wizard (command 32820): refuses to start without "Text.bkg" in the template
// folders (message 50510), else runs the frame, text, clip and destination pages modally over
// `parent` in a private working folder, with `clip` (may be empty) chosen in advance, then brings
// `parent` to the front. `settings` gives the CD drive, template folders and system language.
// `openHelp` opens a help topic.
void runPostcardWizard(const QString &clip, const AppSettings &settings, QWidget *parent,
    const std::function<void(int topic)> &openHelp);

} // namespace glimmerix
