#include "host.h"

#include "strings.h"

namespace
{

// Answers every question with its first, affirmative button and shows nothing.
class SilentHost final : public Host
{
public:
    MessageAnswer showText(const QString &, MessageIcon, MessageButtons buttons, int) override
    {
        return firstButtonAnswer(buttons);
    }
    std::unique_ptr<Progress> createProgress() override
    {
        return std::make_unique<SilentProgress>();
    }
    bool escapePressed() override { return false; }
    void setWaitCursor(bool) override { }
    void setStatusText(int, const QString &) override { }
    QString askSaveFileName(const SaveFileQuestion &) override { return {}; }
};

SilentHost g_silentHost;
Host *g_host = &g_silentHost;

} // namespace

MessageAnswer firstButtonAnswer(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok:
    case MessageButtons::OkCancel:
        return MessageAnswer::Ok;
    case MessageButtons::YesNo:
    case MessageButtons::YesNoCancel:
        return MessageAnswer::Yes;
    case MessageButtons::RetryCancel:
        return MessageAnswer::Retry;
    }
    return MessageAnswer::Ok;
}

MessageAnswer Host::showMessage(
    int id, const QStringList &args, MessageIcon icon, MessageButtons buttons)
{
    return showText(formatString(id, args), icon, buttons, id);
}

Host &host()
{
    return *g_host;
}

Host *setHost(Host *newHost)
{
    Host *previous = g_host == &g_silentHost ? nullptr : g_host;
    g_host = newHost ? newHost : &g_silentHost;
    return previous;
}
