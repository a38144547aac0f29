#pragma once

#include "platform/host.h"

#include <QList>
#include <QString>

#include <deque>

using namespace glimmerix;

// Test host: records every message shown (number and text), answers questions from a script,
// presses Escape or Cancel on demand, and records progress and status texts.
class RecordingHost final : public Host
{
public:
    struct Shown {
        int id; // string number, or 0 for a free text
        QString text;
        MessageIcon icon;
        MessageButtons buttons;
        MessageBoxLook look;
    };

    RecordingHost(); // installs itself as the host
    ~RecordingHost() override; // restores the previous host

    // Answers to the next questions, in order; when none are queued the default button answers.
    void queueAnswer(MessageAnswer answer) { m_answers.push_back(answer); }
    void queueSaveFileName(const QString &path) { m_saveNames.push_back(path); }
    // The files chosen at the next open-file question (an empty list declines).
    void queueOpenFileNames(const QStringList &paths) { m_openNames.push_back(paths); }
    // Escape reads as pressed from the `n`-th poll on (1 = the first poll); 0 never.
    void pressEscapeAtPoll(int n) { m_escapeAtPoll = n; }
    // The progress created `n`-th (1 = first) reports cancelled once its position reaches `at`.
    void cancelProgressAt(int n, int at)
    {
        m_cancelProgress = n;
        m_cancelAt = at;
    }

    QList<int> messageIds() const;
    const QList<Shown> &shown() const { return m_shown; }
    int escapePolls() const { return m_escapePolls; }
    const QList<QString> &statusTexts() const { return m_statusTexts; }
    const QList<SaveFileQuestion> &saveQuestions() const { return m_saveQuestions; }
    const QList<OpenFileQuestion> &openQuestions() const { return m_openQuestions; }
    int progressCount() const { return m_progressCount; }
    int waitCursorDepth() const { return m_waitCursorDepth; }
    void clear();

    std::unique_ptr<Progress> createProgress() override;
    bool escapePressed() override;
    void setWaitCursor(bool on) override;
    void setStatusText(int pane, const QString &text) override;
    QString askSaveFileName(const SaveFileQuestion &question) override;
    QStringList askOpenFileNames(const OpenFileQuestion &question) override;

protected:
    MessageAnswer showBox(const QString &text, MessageIcon icon, MessageButtons buttons,
        int messageId, const MessageBoxLook &look) override;

private:
    Host *m_previous = nullptr;
    QList<Shown> m_shown;
    std::deque<MessageAnswer> m_answers;
    std::deque<QString> m_saveNames;
    QList<SaveFileQuestion> m_saveQuestions;
    std::deque<QStringList> m_openNames;
    QList<OpenFileQuestion> m_openQuestions;
    QList<QString> m_statusTexts;
    int m_escapeAtPoll = 0;
    int m_escapePolls = 0;
    int m_cancelProgress = 0;
    int m_cancelAt = 0;
    int m_progressCount = 0;
    int m_waitCursorDepth = 0;
};
