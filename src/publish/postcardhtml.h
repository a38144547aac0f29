#pragma once

#include "postcardfile.h"

#include <QByteArray>
#include <QString>

namespace glimmerix
{

// "postcard.html": one page that shows the postcard in any current browser straight from the
// package folder or the disc. The frame and card pictures are inside the page (data URIs); the
// clip is the file `clipFileName` beside it, played in the frame's window. No script, style or
// picture is fetched from anywhere else. The page notes on <body> what loaded
// (data-frame, data-card: loaded or missing; data-video: loading, loaded, playing or error) and
// tells the reader how to open a clip the browser cannot play.
QByteArray postcardHtml(const PostcardContent &content, const QString &clipFileName);

} // namespace glimmerix
