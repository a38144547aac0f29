#pragma once

#include "core/commandset.h"

#include <QStringList>

#include <functional>

class QWidget;

namespace glimmerix
{

class AlbumListAccess;
class AppSettings;
class CAlbumDoc;

// What the product, search and presentation commands need from the window that holds them.
struct PublishCommandContext {
    CAlbumDoc &document;
    const AppSettings &settings;
    AlbumListAccess &albumList;
    QWidget *frame; // the wizards and dialogs open over it
    std::function<int()> currentItem; // the view's current item; -1 for none
    std::function<QStringList()> fieldLabels; // the album's three text field labels
    std::function<void(int topic)> openHelp;
};

// The product wizards: web album, slide show and video postcard (the current item's clip chosen
// in advance when it is a video that is there).
CommandSet publishCommandSet(const PublishCommandContext &context);
// The album search and the full-screen presentation of the album.
CommandSet searchCommandSet(const PublishCommandContext &context);

} // namespace glimmerix
