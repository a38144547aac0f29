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
    if (m_saveNames.empty())
        return {};
    const QString name = m_saveNames.front();
    m_saveNames.pop_front();
    return name;
}

QStringList RecordingHost::askOpenFileNames(const OpenFileQuestion &question)
{
    m_openQuestions.append(question);
    if (m_openNames.empty())
        return {};
    const QStringList paths = m_openNames.front();
    m_openNames.pop_front();
    return paths;
}
