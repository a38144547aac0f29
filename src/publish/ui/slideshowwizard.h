#pragma once

#include "album/albumdoc.h"

#include <QWidget>

#include <functional>

namespace glimmerix
{

class AppSettings;

// The slide show wizard (command 32806): refuses an album without a file (message 50327), else
// runs the picking, sound and destination pages modally over `parent` in a private working
// folder, then brings `parent` to the front. The folders its dialogs start in come from
// `settings`. `openHelp` opens a help topic.
void runSlideShowWizard(const CAlbumDoc &document, const AppSettings &settings, QWidget *parent,
    const std::function<void(int topic)> &openHelp);

} // namespace glimmerix
