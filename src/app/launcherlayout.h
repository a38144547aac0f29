#pragma once

#include "core/messageids.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

// The launcher bar's rules without a window: where the buttons lie, which look each shows, what
// the status pane says, and which program a click or a drop starts. The bar widget feeds mouse
// events in and paints what this state says.

struct ExternalApp;

// Longest program path a launcher entry keeps (one byte of the 260-byte field is the terminator).
inline constexpr int kMaxLauncherPathBytes = 259;

// A button rectangle as left, top, right, bottom; right and bottom lie just outside the button.
struct ButtonRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool contains(QPoint point) const
    {
        return point.x() >= left && point.x() < right && point.y() >= top && point.y() < bottom;
    }
    bool isEmpty() const { return right <= left || bottom <= top; }
    QRect toRect() const { return QRect(left, top, right - left, bottom - top); }
    bool operator==(const ButtonRect &other) const = default;
};

// Button `index` (from 0): left 30 + 65 i, top 5, 55 by 55 pixels.
ButtonRect launcherButtonRect(int index);
// The area every button lies in, for the main window's hover reset.
QRect launcherButtonArea(int count);

// One program of the bar.
struct LauncherEntry {
    QString path;
    QString label;
    ButtonRect rect;
};

// The application's external program list as bar entries (laid out) and back.
QList<LauncherEntry> launcherEntriesFrom(const QList<ExternalApp> &apps);
QList<ExternalApp> externalAppsFrom(const QList<LauncherEntry> &entries);

enum class ButtonLook { Normal = 0, Pressed = 1, Hover = 2 };

class LauncherState
{
public:
    // Replaces the programs and lays the buttons out; every look returns to normal.
    void setEntries(const QList<LauncherEntry> &entries);
    const QList<LauncherEntry> &entries() const { return m_entries; }
    int count() const { return int(m_entries.size()); }
    ButtonLook look(int index) const;
    int pressedIndex() const { return m_pressed; }
    bool held() const { return m_held; }

    // The button under `point`, or -1.
    int buttonAt(QPoint point) const;
    // The label of the button under `point` (empty elsewhere): the tool tip.
    QString toolTipAt(QPoint point) const;

    // Mouse move: returns the status pane text. While no button is held down the button under
    // the cursor shows the hover look; while one is held it shows the pressed look only while
    // the cursor is on it.
    QString mouseMove(QPoint point);
    // Left or right button down: the button under `point` becomes the pressed one. False when
    // there is no button there.
    bool press(QPoint point);
    // Left button up: the index of the program to start (the button under the cursor now), or
    // -1. The pressed button returns to normal.
    int releaseLeft(QPoint point);
    // Right button up: opens the set-up dialog in any case; `preselect` is the entry the cursor
    // is still on (the one pressed), or -1 to open it plainly.
    struct SetupRequest {
        int preselect = -1;
    };
    SetupRequest releaseRight(QPoint point);
    // A drag moves over the bar carrying data the bar accepts (`acceptable`): the button under
    // the cursor takes the hover look and every other hover look returns to normal. Returns the
    // button that would take the drop, or -1 (the drop effect is then none).
    int dragMove(QPoint point, bool acceptable);
    // Every hover look returns to normal; true when one did (the bar must repaint).
    bool resetHover();
    // Every look returns to normal and nothing is held.
    void resetLooks();

private:
    QList<LauncherEntry> m_entries;
    QList<ButtonLook> m_looks;
    int m_pressed = -1;
    bool m_held = false;
};

// How a program is started: the program, its arguments (never split by a shell) and the working
// folder.
struct LaunchCommand {
    QString program;
    QStringList arguments;
    QString workingFolder;
    bool isValid() const { return !program.isEmpty(); }
};

// The command that starts launcher program `path` with `files` (none for a click). A program file
// starts itself in its own folder; a ".desktop" entry runs its Exec= line (read by
// parseDesktopEntry) in its Path= folder, or in the program's folder when that is not set. An
// invalid command means the entry cannot be read.
LaunchCommand launchCommandFor(const QString &path, const QStringList &files);

// What a ".desktop" file says about starting its program.
struct DesktopEntry {
    QString name;
    QString icon;
    QString exec;
    QString path;
    bool valid = false; // a [Desktop Entry] group with an Exec= key was found
};
DesktopEntry parseDesktopEntry(const QByteArray &contents);
bool isDesktopEntryPath(const QString &path);

// Splits an Exec= value into program and arguments by the desktop-entry quoting rules (blanks
// separate, double quotes group, backslash escapes inside quotes) and fills the field codes: %f
// and %u take the first file, %F and %U all of them, %% is a percent sign, %c the `name`, %k
// the `desktopFile`, %i the icon; other codes vanish. When the line has no file code the files
// are appended. An empty list means the line is malformed (an unterminated quote).
QStringList expandExecLine(const QString &exec, const QStringList &files, const QString &name = {},
    const QString &icon = {}, const QString &desktopFile = {});

// Starts programs. The program uses a process starter; tests record what would start.
class ProgramStarter
{
public:
    virtual ~ProgramStarter() = default;
    // Starts `command` detached; false (with the system's reason in `error`) when it cannot.
    virtual bool start(const LaunchCommand &command, QString *error) = 0;
};

// Starts programs as detached processes.
class ProcessStarter final : public ProgramStarter
{
public:
    bool start(const LaunchCommand &command, QString *error) override;
};

// The starter the launcher uses: a ProcessStarter unless a test installed another.
ProgramStarter &programStarter();
// Installs `starter` (not owned) and returns the previous one; nullptr restores the default.
ProgramStarter *setProgramStarter(ProgramStarter *starter);

// A click on a button: starts `entry`'s program; failure shows message 50343.
bool startLauncherProgram(const LauncherEntry &entry);
// A drop on a button: starts `entry`'s program with `file`, in the current folder. Failure shows
// the system's reason in an information box.
bool startLauncherProgramWithFile(const LauncherEntry &entry, const QString &file);
