#include "clihost.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <unistd.h>

namespace glimmerix
{

namespace
{

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

bool stderrIsTerminal()
{
    return ::isatty(STDERR_FILENO) == 1;
}

// One progress line on standard error: "Title: text 42%", rewritten in place on a terminal and
// printed only at whole tens otherwise, so logs stay short.
class TerminalProgress final : public Progress
{
public:
    explicit TerminalProgress(bool quiet)
        : m_quiet(quiet)
    {
    }
    ~TerminalProgress() override { close(); }

    void setTitle(const QString &title) override { m_title = title; }
    void setText(const QString &text) override
    {
        m_text = text;
        draw();
    }
    void setRange(int maximum) override { m_range = maximum; }
    void setPosition(int position) override
    {
        m_position = position;
        draw();
    }
    int position() const override { return m_position; }
    int range() const override { return m_range; }
    void setHideCancel(bool) override { }
    void setKeepOpen(bool) override { }
    void show() override
    {
        m_shown = true;
        draw();
    }
    void close() override
    {
        if (m_shown && m_drawn && stderrIsTerminal() && !m_quiet)
            err() << '\n' << Qt::flush;
        m_shown = false;
    }
    void pumpEvents() override { }
    bool cancelled() const override { return false; }

private:
    void draw()
    {
        if (!m_shown || m_quiet)
            return;
        const int percent = m_range > 0 ? int(qint64(m_position) * 100 / m_range) : 0;
        QString line = m_title.isEmpty() ? m_text : m_title + QStringLiteral(": ") + m_text;
        line += QStringLiteral(" %1%").arg(qBound(0, percent, 100));
        if (stderrIsTerminal()) {
            err() << '\r' << line << QStringLiteral("\x1b[K") << Qt::flush;
        } else if (percent / 10 != m_lastTenth) {
            err() << line << '\n' << Qt::flush;
        }
        m_lastTenth = percent / 10;
        m_drawn = true;
    }

    QString m_title;
    QString m_text;
    int m_range = 0;
    int m_position = 0;
    int m_lastTenth = -1;
    bool m_shown = false;
    bool m_drawn = false;
    bool m_quiet;
};

} // namespace

MessageAnswer CliHost::showBox(
    const QString &text, MessageIcon icon, MessageButtons buttons, int, const MessageBoxLook &)
{
    if (!m_quiet) {
        // Reports name the program as it was run, like any command-line tool.
        const QString prefix = icon == MessageIcon::Question
            ? QString()
            : QCoreApplication::applicationName() + QStringLiteral(": ");
        err() << prefix << text << '\n' << Qt::flush;
    }
    switch (buttons) {
    case MessageButtons::Ok:
        return MessageAnswer::Ok;
    case MessageButtons::OkCancel:
    case MessageButtons::RetryCancel:
        return MessageAnswer::Cancel;
    case MessageButtons::YesNo:
        return m_yesNoAnswer;
    case MessageButtons::YesNoCancel:
        return m_yesNoAnswer == MessageAnswer::Yes ? MessageAnswer::Yes : MessageAnswer::Cancel;
    }
    return MessageAnswer::Ok;
}

std::unique_ptr<Progress> CliHost::createProgress()
{
    return std::make_unique<TerminalProgress>(m_quiet);
}

void CliHost::setStatusText(int pane, const QString &text)
{
    // Only the message pane carries progress worth showing on a terminal.
    if (pane == 0 && !m_quiet && stderrIsTerminal() && !text.isEmpty())
        err() << '\r' << text << QStringLiteral("\x1b[K") << Qt::flush;
}

QString CliHost::askSaveFileName(const SaveFileQuestion &)
{
    return m_saveFileAnswer;
}

} // namespace glimmerix
