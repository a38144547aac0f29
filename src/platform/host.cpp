#include "host.h"

#include "strings.h"

#include <QList>

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

} // namespace

MessageAnswer buttonAnswer(MessageButtons buttons, int index)
{
    // The answers in the order the buttons are named.
    QList<MessageAnswer> answers;
    switch (buttons) {
    case MessageButtons::Ok:
        answers = { MessageAnswer::Ok };
        break;
    case MessageButtons::OkCancel:
        answers = { MessageAnswer::Ok, MessageAnswer::Cancel };
        break;
    case MessageButtons::YesNo:
        answers = { MessageAnswer::Yes, MessageAnswer::No };
        break;
    case MessageButtons::YesNoCancel:
        answers = { MessageAnswer::Yes, MessageAnswer::No, MessageAnswer::Cancel };
        break;
    case MessageButtons::RetryCancel:
        answers = { MessageAnswer::Retry, MessageAnswer::Cancel };
        break;
    }
    return index >= 0 && index < answers.size() ? answers[index] : answers.value(0);
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
    return *g_host;
}

Host *setHost(Host *newHost)
{
    Host *previous = g_host == &g_silentHost ? nullptr : g_host;
    g_host = newHost ? newHost : &g_silentHost;
    return previous;
}
