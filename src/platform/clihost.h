#pragma once

#include "host.h"

namespace glimmerix
{

// Host for the command-line tool: messages go to standard error, questions take their default
// answer, progress is one line on a terminal that rewrites itself.
class CliHost final : public Host
{
public:
    std::unique_ptr<Progress> createProgress() override;
    bool escapePressed() override { return false; }
    void setWaitCursor(bool) override { }
    void setStatusText(int pane, const QString &text) override;
    QString askSaveFileName(const SaveFileQuestion &question) override;

protected:
    MessageAnswer showBox(const QString &text, MessageIcon icon, MessageButtons buttons,
        int messageId, const MessageBoxLook &look) override;

private:
    // The answer to every save-file question (empty: decline).
    QString m_saveFileAnswer;
    // Answer given to yes/no questions: No, so a script never deletes by accident.
    MessageAnswer m_yesNoAnswer = MessageAnswer::No;
    bool m_quiet = false;
};

} // namespace glimmerix
