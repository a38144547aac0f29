#pragma once

#include <QString>
#include <QStringList>

namespace glimmerix
{

// Sending an item's file by mail through the desktop's mail program (xdg-email), the way the
// simple mail interface handed a document to the mail client.

// The arguments for xdg-email: the file attached and its name as the subject.
QStringList mailArguments(const QString &filePath, const QString &title);
// Starts xdg-email for `filePath`; false when it could not be started.
bool sendFileByMail(const QString &filePath, const QString &title);

} // namespace glimmerix
