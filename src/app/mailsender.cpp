#include "mailsender.h"

#include "platform/programstarter.h"

namespace glimmerix
{

QStringList mailArguments(const QString &filePath, const QString &title)
{
    return { QStringLiteral("--subject"), title, QStringLiteral("--attach"), filePath };
}

bool sendFileByMail(const QString &filePath, const QString &title)
{
    return programStarter().start(
        { QStringLiteral("xdg-email"), mailArguments(filePath, title), {} }, nullptr);
}

} // namespace glimmerix
