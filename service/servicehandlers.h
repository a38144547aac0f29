#pragma once

#include "picturestore.h"

#include <QByteArray>
#include <QList>

namespace httplib
{
class Server;
}

// The largest upload request the service reads: the 1048576-byte picture limit of the client
// plus room for the texts and the form's framing.
inline constexpr size_t kMaxUploadRequestBytes = 1048576 + 64 * 1024;

// Answers the photo service's requests on `server` from `store`:
//   GET  /servlet/com.api.GetServer       the image server's host (this one)
//   GET  /servlet/com.api.ImageList       the user's pictures as "key=value<br>" lines
//   GET  /servlet/com.api.GetImage        a picture, or its preview with type=s
//   POST /servlet/upload                  a multipart form; the reply holds the reply code
// `publicHost`, when not empty, is what the lookup answers; otherwise the request's Host header
// when it names this machine's loopback (421 for any other). Failed logins are limited and
// logged (LoginLimiter; 429 with Retry-After while a name or address must wait).
void installHandlers(httplib::Server &server, PictureStore &store, const QByteArray &publicHost);

// The image list text of `pictures`: the count, the number of field lines less one, then five
// field lines per picture. A "<" in a value would end its line early, so it is sent as "＜".
QByteArray imageListText(const QList<StoredPicture> &pictures);
