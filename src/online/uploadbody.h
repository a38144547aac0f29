#pragma once

#include <QByteArray>
#include <QString>

namespace glimmerix
{

// The multipart form an upload sends: the item's three texts, the user's name and password, and
// the picture file under the path it is sent from.

inline constexpr const char *kUploadBoundary = "---------------------------9471607617381";
// The largest picture file an upload sends.
inline constexpr qint64 kMaxUploadBytes = 1048576;

struct UploadForm {
    QString caption;
    QString description;
    QString keywords;
    QString userName;
    QString password;
    QString filePath; // the file sent, named in the form's filename parameter
};

// The request's content type header value, naming the boundary.
QByteArray uploadContentType();
// The body up to the picture's bytes: the five text parts (an empty text leaves its value line
// empty), then the file part's header lines and the empty line before the bytes.
QByteArray uploadBodyHead(const UploadForm &form);
// The body after the picture's bytes: the line end and the closing delimiter.
QByteArray uploadBodyTail();

} // namespace glimmerix
