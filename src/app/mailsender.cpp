#include "mailsender.h"

#include <QProcess>

QStringList mailArguments(const QString &filePath, const QString &title)
{
    return { QStringLiteral("--subject"), title, QStringLiteral("--attach"), filePath };
}

bool sendFileByMail(const QString &filePath, const QString &title)
{
    return QProcess::startDetached(QStringLiteral("xdg-email"), mailArguments(filePath, title));
}
