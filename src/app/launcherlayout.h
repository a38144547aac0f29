#pragma once

#include "core/messageids.h"
#include "platform/desktopentry.h"
#include "platform/programstarter.h"
#include "platform/textlimits.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

namespace glimmerix
{

// The launcher bar's rules without a window: where the buttons lie and which program a click or a
// drop starts (the hover and press state is in launcherstate.h).

struct ExternalApp;

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

// The command that starts launcher program `path` with `files` (none for a click). A program file
// starts itself in its own folder; a ".desktop" entry runs its Exec= line (read by
// parseDesktopEntry) in its Path= folder, or in the program's folder when that is not set. An
// invalid command means the entry cannot be read.
LaunchCommand launchCommandFor(const QString &path, const QStringList &files);

// A click on a button: starts `entry`'s program; failure shows message 50343.
bool startLauncherProgram(const LauncherEntry &entry);
// A drop on a button: starts `entry`'s program with `file`, in the current folder. Failure shows
// the system's reason in an information box.
bool startLauncherProgramWithFile(const LauncherEntry &entry, const QString &file);

} // namespace glimmerix
