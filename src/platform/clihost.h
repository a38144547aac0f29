#pragma once

#include "host.h"

namespace glimmerix
{

// Host for the command-line tool: messages go to standard error, questions take their default
// answer (or a scripted one), progress is one line on a terminal that rewrites itself.
class CliHost final : public Host
{
public:
    // The answer to every save-file question (empty: decline), for scripts.
    void setSaveFileAnswer(const QString &path) { m_saveFileAnswer = path; }
    // Answer given to yes/no questions; defaults to No, so a script never deletes by accident.
    void setYesNoAnswer(MessageAnswer answer) { m_yesNoAnswer = answer; }
    bool quiet() const { return m_quiet; }
    void setQuiet(bool quiet) { m_quiet = quiet; }

    std::unique_ptr<Progress> createProgress() override;
    bool escapePressed() override { return false; }
    void setWaitCursor(bool) override { }
    void setStatusText(int pane, const QString &text) override;
    QString askSaveFileName(const SaveFileQuestion &question) override;

protected:
    MessageAnswer showBox(const QString &text, MessageIcon icon, MessageButtons buttons,
        int messageId, const MessageBoxLook &look) override;

private:
    QString m_saveFileAnswer;
    MessageAnswer m_yesNoAnswer = MessageAnswer::No;
    bool m_quiet = false;
};

} // namespace glimmerix
