#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

namespace glimmerix
{

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

// What an open-file question needs: a title, the folder it starts in, the name filter and whether
// several files may be chosen.
struct OpenFileQuestion {
    QString title;
    QString folder;
    QString filter;
    bool multiple = false;
};

// How a message box looks beyond its text: the caption (empty: the program's name) and which
// button is the default, counted from 0 in the order the buttons are named (YesNoCancel: Yes 0,
// No 1, Cancel 2). An index the box does not have means the first button.
struct MessageBoxLook {
    QString caption;
    int defaultButton = 0;
};

class Host
{
public:
    virtual ~Host() = default;

    // Shows string-table message `id` formatted with `args` (printf-style placeholders in order).
    MessageAnswer showMessage(int id, const QStringList &args = {},
        MessageIcon icon = MessageIcon::Warning, MessageButtons buttons = MessageButtons::Ok,
        const MessageBoxLook &look = {});
    // Shows a text that does not come from the string table (a system error text, say);
    // `messageId` names the string it stands for, 0 when none.
    MessageAnswer showText(const QString &text, MessageIcon icon, MessageButtons buttons,
        int messageId, const MessageBoxLook &look = {});

    virtual std::unique_ptr<Progress> createProgress() = 0;
    // True while the user holds Escape down (long picture loops poll it every 16 rows).
    virtual bool escapePressed() = 0;
    virtual void setWaitCursor(bool on) = 0;
    // Text of the main window's status pane `pane` (0 is the message pane).
    virtual void setStatusText(int pane, const QString &text) = 0;
    // Asks for a file name to save to; an empty result means the user declined.
    virtual QString askSaveFileName(const SaveFileQuestion &question) = 0;
    // Asks for existing files to open (one unless the question allows several); an empty
    // result means the user declined. A host that cannot ask declines.
    virtual QStringList askOpenFileNames(const OpenFileQuestion &question);

protected:
    // Every message box passes through here: its text, icon, buttons, the string it stands for
    // (0: none) and its look.
    virtual MessageAnswer showBox(const QString &text, MessageIcon icon, MessageButtons buttons,
        int messageId, const MessageBoxLook &look)
        = 0;
};

// The answers of a box's buttons, in the order the buttons are named.
QList<MessageAnswer> buttonAnswers(MessageButtons buttons);
// The answer of a box's button `index` (0 = first; out of range: the first, affirmative one).
MessageAnswer buttonAnswer(MessageButtons buttons, int index);
// The answer a box gives when its default button is taken.
inline MessageAnswer defaultAnswer(MessageButtons buttons, const MessageBoxLook &look)
{
    return buttonAnswer(buttons, look.defaultButton);
}

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

// Installs `threadHost` (not owned) as the host of the calling thread only, for the lifetime of
// the object. Worker threads of a batch use it so that what they would show is recorded and shown
// later by the thread that owns the windows.
class ThreadHostScope
{
public:
    explicit ThreadHostScope(Host &threadHost);
    ~ThreadHostScope();
    ThreadHostScope(const ThreadHostScope &) = delete;
    ThreadHostScope &operator=(const ThreadHostScope &) = delete;

private:
    Host *m_previous;
};
// True while a ThreadHostScope is in force on the calling thread: a worker, where work that needs
// the user-interface thread (Qt pixmaps, icon themes) must not run.
bool hasThreadHost();

// Shows or hides the wait cursor for the lifetime of the object.
class WaitCursor
{
public:
    WaitCursor() { host().setWaitCursor(true); }
    ~WaitCursor() { host().setWaitCursor(false); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace glimmerix
