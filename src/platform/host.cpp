#include "host.h"

#include "strings.h"

namespace {

class SilentProgress final : public Progress {
public:
    void setTitle(const QString &) override {}
    void setText(const QString &) override {}
    void setRange(int maximum) override { m_range = maximum; }
    void setPosition(int position) override { m_position = position; }
    int position() const override { return m_position; }
    int range() const override { return m_range; }
    void setHideCancel(bool) override {}
    void setKeepOpen(bool) override {}
    void show() override {}
    void close() override {}
    void pumpEvents() override {}
    bool cancelled() const override { return false; }

private:
    int m_range = 0;
    int m_position = 0;
};

// Answers every question with its first, affirmative button and shows nothing.
class SilentHost final : public Host {
public:
    MessageAnswer showText(const QString &, MessageIcon, MessageButtons buttons, int) override
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
    std::unique_ptr<Progress> createProgress() override
    {
        return std::make_unique<SilentProgress>();
    }
    bool escapePressed() override { return false; }
    void setWaitCursor(bool) override {}
    void setStatusText(int, const QString &) override {}
    QString askSaveFileName(const SaveFileQuestion &) override { return {}; }
};

SilentHost g_silentHost;
Host *g_host = &g_silentHost;

} // namespace

MessageAnswer Host::showMessage(int id, const QStringList &args, MessageIcon icon,
                                MessageButtons buttons)
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
