#include "uploadbody.h"

namespace glimmerix
{

namespace
{

QByteArray delimiter()
{
    return QByteArray("--") + kUploadBoundary;
}

void appendTextPart(QByteArray &body, const char *name, const QString &value)
{
    body += delimiter() + "\r\n";
    body += QByteArray("Content-Disposition: form-data; name=\"") + name + "\"\r\n";
    body += "\r\n";
    body += value.toUtf8() + "\r\n";
}

} // namespace

QByteArray uploadContentType()
{
    return QByteArray("multipart/form-data, boundary=") + kUploadBoundary;
}

QByteArray uploadBodyHead(const UploadForm &form)
{
    QByteArray body;
    appendTextPart(body, "Caption", form.caption);
    appendTextPart(body, "Description", form.description);
    appendTextPart(body, "Keyword", form.keywords);
    appendTextPart(body, "UserName", form.userName);
    appendTextPart(body, "PassWord", form.password);
    body += delimiter() + "\r\n";
    // A quote or line end in the path would end the header early; they go percent-encoded, as
    // browsers send them.
    QByteArray path = form.filePath.toUtf8();
    path.replace('"', "%22").replace('\r', "%0D").replace('\n', "%0A");
    body += "Content-Disposition: form-data; name=\"upload\"; filename=\"" + path + "\"\r\n";
    body += "Content-Type: image/jpeg\r\n";
    body += "\r\n";
    return body;
}

QByteArray uploadBodyTail()
{
    return "\r\n" + delimiter() + "--\r\n";
}

} // namespace glimmerix
