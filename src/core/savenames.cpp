#include "savenames.h"

#include "messageids.h"

#include "platform/host.h"

#include <QFileInfo>

namespace glimmerix
{

QString finalSaveName(const QString &chosen, const QString &suffix)
{
    if (chosen.isEmpty() || !QFileInfo(chosen).suffix().isEmpty())
        return chosen;
    const QString path = chosen + u'.' + suffix;
    if (!QFileInfo::exists(path))
        return path;
    const MessageAnswer answer = host().showMessage(
        Message::kReplaceQuestion, { path }, MessageIcon::Warning, MessageButtons::YesNo);
    return answer == MessageAnswer::Yes ? path : QString();
}

} // namespace glimmerix
