#include "recordinghost.h"

namespace
{

// Reports cancelled once its position reaches the scripted point (never when negative).
class RecordedProgress final : public SilentProgress
{
public:
    explicit RecordedProgress(int cancelAt)
        : m_cancelAt(cancelAt)
    {
    }
    bool cancelled() const override { return m_cancelAt >= 0 && position() >= m_cancelAt; }

private:
    int m_cancelAt;
};

// The first queued answer, taken from the queue; with none queued the user declines.
template<typename T> T takeFirst(std::deque<T> &queue)
{
    if (queue.empty())
        return {};
    T first = std::move(queue.front());
    queue.pop_front();
    return first;
}

} // namespace

RecordingHost::RecordingHost()
    : m_previous(setHost(this))
{
}

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
    m_openNames.clear();
    m_openQuestions.clear();
    m_statusTexts.clear();
    m_escapePolls = 0;
}

MessageAnswer RecordingHost::showBox(const QString &text, MessageIcon icon, MessageButtons buttons,
    int messageId, const MessageBoxLook &look)
{
    m_shown.append({ messageId, text, icon, buttons, look });
    if (m_answers.empty())
        return defaultAnswer(buttons, look);
    const MessageAnswer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

std::unique_ptr<Progress> RecordingHost::createProgress()
{
    ++m_progressCount;
    return std::make_unique<RecordedProgress>(
        m_progressCount == m_cancelProgress ? m_cancelAt : -1);
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
    return takeFirst(m_saveNames);
}

QStringList RecordingHost::askOpenFileNames(const OpenFileQuestion &question)
{
    m_openQuestions.append(question);
    return takeFirst(m_openNames);
}
