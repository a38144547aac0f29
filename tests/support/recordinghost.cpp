#include "recordinghost.h"

namespace {

class RecordedProgress final : public Progress {
public:
    explicit RecordedProgress(int cancelAt) : m_cancelAt(cancelAt) {}
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
    bool cancelled() const override { return m_cancelAt >= 0 && m_position >= m_cancelAt; }

private:
    int m_cancelAt;
    int m_range = 0;
    int m_position = 0;
};

MessageAnswer firstButton(MessageButtons buttons)
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

} // namespace

RecordingHost::RecordingHost() : m_previous(setHost(this)) {}

RecordingHost::~RecordingHost()
{
    setHost(m_previous);
}

QList<int> RecordingHost::messageIds() const
{
    QList<int> ids;
    for (const Shown &s : m_shown)
        ids << s.id;
    return ids;
}

void RecordingHost::clear()
{
    m_shown.clear();
    m_answers.clear();
    m_saveNames.clear();
    m_saveQuestions.clear();
    m_statusTexts.clear();
    m_escapePolls = 0;
}

MessageAnswer RecordingHost::showText(const QString &text, MessageIcon icon, MessageButtons buttons,
                                      int messageId)
{
    m_shown.append({messageId, text, icon, buttons});
    if (m_answers.empty())
        return firstButton(buttons);
    const MessageAnswer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

std::unique_ptr<Progress> RecordingHost::createProgress()
{
    ++m_progressCount;
    return std::make_unique<RecordedProgress>(m_progressCount == m_cancelProgress ? m_cancelAt : -1);
}

bool RecordingHost::escapePressed()
{
    ++m_escapePolls;
    return m_escapeAtPoll > 0 && m_escapePolls >= m_escapeAtPoll;
}

void RecordingHost::setWaitCursor(bool on)
{
    m_waitCursorDepth += on ? 1 : -1;
}

void RecordingHost::setStatusText(int, const QString &text)
{
    m_statusTexts.append(text);
}

QString RecordingHost::askSaveFileName(const SaveFileQuestion &question)
{
    m_saveQuestions.append(question);
    if (m_saveNames.empty())
        return {};
    const QString name = m_saveNames.front();
    m_saveNames.pop_front();
    return name;
}
