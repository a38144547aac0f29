#pragma once

#include <QString>
#include <QStringList>

#include <memory>

// The one door through which logic reaches the user. Logic never opens a window itself: it shows
// message N, asks a question, reports progress, polls Escape or sets status text through the
// current Host. The GUI, the command-line tool and the tests each install their own Host.

enum class MessageIcon { Warning, Information, Question, Error };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No, Retry };

// Progress of one long operation, with the contract of the program's progress dialog: a title
// line, a text line, a bar from 0 to range, a Cancel button that sets the cancelled flag (and
// closes the dialog unless keep-open is set), and a switch that hides Cancel.
class Progress
{
public:
    virtual ~Progress() = default;
    virtual void setTitle(const QString &title) = 0;
    virtual void setText(const QString &text) = 0;
    virtual void setRange(int maximum) = 0;
    virtual void setPosition(int position) = 0;
    virtual int position() const = 0;
    virtual int range() const = 0;
    virtual void setHideCancel(bool hide) = 0;
    virtual void setKeepOpen(bool keepOpen) = 0;
    virtual void show() = 0;
    virtual void close() = 0;
    // Lets pending user input run (one step of the event loop), so Cancel can be pressed.
    virtual void pumpEvents() = 0;
    virtual bool cancelled() const = 0;

    void step() { setPosition(position() + 1); }
};

// What a save-file question needs: a title, a proposed path and the name filter ("JPEG (*.jpg)").
struct SaveFileQuestion {
    QString title;
    QString proposedPath;
    QString filter;
};

class Host
{
public:
    virtual ~Host() = default;

    // Shows string-table message `id` formatted with `args` (printf-style placeholders in order).
    MessageAnswer showMessage(int id, const QStringList &args = {},
        MessageIcon icon = MessageIcon::Warning, MessageButtons buttons = MessageButtons::Ok);
    // Shows a text that does not come from the string table (a system error text, say).
    virtual MessageAnswer showText(
        const QString &text, MessageIcon icon, MessageButtons buttons, int messageId)
        = 0;

    virtual std::unique_ptr<Progress> createProgress() = 0;
    // True while the user holds Escape down (long picture loops poll it every 16 rows).
    virtual bool escapePressed() = 0;
    virtual void setWaitCursor(bool on) = 0;
    // Text of the main window's status pane `pane` (0 is the message pane).
    virtual void setStatusText(int pane, const QString &text) = 0;
    // Asks for a file name to save to; an empty result means the user declined.
    virtual QString askSaveFileName(const SaveFileQuestion &question) = 0;
};

// The answer of a box's first, affirmative button (OK, Yes or Retry).
MessageAnswer firstButtonAnswer(MessageButtons buttons);

// A progress that shows nothing and is never cancelled: it only keeps its range and position.
class SilentProgress : public Progress
{
public:
    void setTitle(const QString &) override { }
    void setText(const QString &) override { }
    void setRange(int maximum) override { m_range = maximum; }
    void setPosition(int position) override { m_position = position; }
    int position() const override { return m_position; }
    int range() const override { return m_range; }
    void setHideCancel(bool) override { }
    void setKeepOpen(bool) override { }
    void show() override { }
    void close() override { }
    void pumpEvents() override { }
    bool cancelled() const override { return false; }

private:
    int m_range = 0;
    int m_position = 0;
};

// The host in force. Until one is installed a silent host answers (OK/Yes, no Escape).
Host &host();
// Installs `newHost` (not owned) and returns the previous one; nullptr restores the silent host.
Host *setHost(Host *newHost);

// Shows or hides the wait cursor for the lifetime of the object.
class WaitCursor
{
public:
    WaitCursor() { host().setWaitCursor(true); }
    ~WaitCursor() { host().setWaitCursor(false); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};
