#pragma once

#include "album/albumdoc.h"

#include <QWidget>

#include <functional>

namespace glimmerix
{

class AppSettings;

// The web album wizard (command 32819): refuses an album without a file (message 50327), else
// runs the picking, layout, captions and destination pages modally over `parent` in a private
// working folder, then brings `parent` to the front. The field labels and folders come
// from `settings`. `openHelp` opens a help topic.
void runWebAlbumWizard(const CAlbumDoc &document, const AppSettings &settings, QWidget *parent,
    const std::function<void(int topic)> &openHelp);

// Whether a product wizard may start for `document`; shows message 50327 when not.
bool productWizardAllowed(const CAlbumDoc &document);

} // namespace glimmerix
