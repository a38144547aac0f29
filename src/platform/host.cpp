#include "host.h"

#include "strings.h"

namespace glimmerix
{

namespace
{

// Answers every question with its default button and shows nothing.
class SilentHost final : public Host
{
public:
    std::unique_ptr<Progress> createProgress() override
    {
        return std::make_unique<SilentProgress>();
    }
    bool escapePressed() override { return false; }
    void setWaitCursor(bool) override { }
    void setStatusText(int, const QString &) override { }
    QString askSaveFileName(const SaveFileQuestion &) override { return {}; }

protected:
    MessageAnswer showBox(const QString &, MessageIcon, MessageButtons buttons, int,
        const MessageBoxLook &look) override
    {
        return defaultAnswer(buttons, look);
    }
};

SilentHost g_silentHost;
Host *g_host = &g_silentHost;
thread_local Host *t_threadHost = nullptr;

} // namespace

QList<MessageAnswer> buttonAnswers(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok:
        return { MessageAnswer::Ok };
    case MessageButtons::OkCancel:
        return { MessageAnswer::Ok, MessageAnswer::Cancel };
    case MessageButtons::YesNo:
        return { MessageAnswer::Yes, MessageAnswer::No };
    case MessageButtons::YesNoCancel:
        return { MessageAnswer::Yes, MessageAnswer::No, MessageAnswer::Cancel };
    case MessageButtons::RetryCancel:
        return { MessageAnswer::Retry, MessageAnswer::Cancel };
    }
    return { MessageAnswer::Ok };
}

MessageAnswer buttonAnswer(MessageButtons buttons, int index)
{
    const QList<MessageAnswer> answers = buttonAnswers(buttons);
    return index >= 0 && index < answers.size() ? answers[index] : answers.first();
}

MessageAnswer Host::showMessage(int id, const QStringList &args, MessageIcon icon,
    MessageButtons buttons, const MessageBoxLook &look)
{
    return showBox(formatString(id, args), icon, buttons, id, look);
}

MessageAnswer Host::showText(const QString &text, MessageIcon icon, MessageButtons buttons,
    int messageId, const MessageBoxLook &look)
{
    return showBox(text, icon, buttons, messageId, look);
}

QStringList Host::askOpenFileNames(const OpenFileQuestion &)
{
    return {};
}

Host &host()
{
    return t_threadHost ? *t_threadHost : *g_host;
}

ThreadHostScope::ThreadHostScope(Host &threadHost)
    : m_previous(t_threadHost)
{
    t_threadHost = &threadHost;
}

ThreadHostScope::~ThreadHostScope()
{
    t_threadHost = m_previous;
}

bool hasThreadHost()
{
    return t_threadHost != nullptr;
}

Host *setHost(Host *newHost)
{
    Host *previous = g_host == &g_silentHost ? nullptr : g_host;
    g_host = newHost ? newHost : &g_silentHost;
    return previous;
}

} // namespace glimmerix
