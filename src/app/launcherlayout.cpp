#include "launcherlayout.h"

#include "core/appsettings.h"
#include "core/messageids.h"

#include "platform/host.h"
#include "platform/strings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace glimmerix
{

ButtonRect launcherButtonRect(int index)
{
    return { 30 + 65 * index, 5, 85 + 65 * index, 60 };
}

QRect launcherButtonArea(int count)
{
    if (count <= 0)
        return {};
    return launcherButtonRect(0).toRect().united(launcherButtonRect(count - 1).toRect());
}

QList<LauncherEntry> launcherEntriesFrom(const QList<ExternalApp> &apps)
{
    QList<LauncherEntry> entries;
    for (const ExternalApp &app : apps)
        entries.append({ app.path, app.label, launcherButtonRect(int(entries.size())) });
    return entries;
}

QList<ExternalApp> externalAppsFrom(const QList<LauncherEntry> &entries)
{
    QList<ExternalApp> apps;
    for (const LauncherEntry &entry : entries)
        apps.append({ entry.path, entry.label });
    return apps;
}

LaunchCommand launchCommandFor(const QString &path, const QStringList &files)
{
    LaunchCommand command;
    if (!isDesktopEntryPath(path)) {
        command.program = path;
        command.arguments = files;
        command.workingFolder = QFileInfo(path).absolutePath();
        return command;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return command;
    // A desktop entry is a few hundred bytes; anything past 1 MB is not one.
    const DesktopEntry entry = parseDesktopEntry(file.read(1 << 20));
    if (!entry.valid)
        return command;
    QStringList words = expandExecLine(entry.exec, files, entry.name, entry.icon, path);
    if (words.isEmpty())
        return command;
    command.program = words.takeFirst();
    command.arguments = words;
    if (!entry.path.isEmpty()) {
        command.workingFolder = entry.path;
    } else {
        const QString found = command.program.contains(u'/')
            ? command.program
            : QStandardPaths::findExecutable(command.program);
        command.workingFolder
            = found.isEmpty() ? QDir::homePath() : QFileInfo(found).absolutePath();
    }
    return command;
}

bool startLauncherProgram(const LauncherEntry &entry)
{
    QString error;
    if (programStarter().start(launchCommandFor(entry.path, {}), &error))
        return true;
    host().showMessage(Message::kStartFailed, {}, MessageIcon::Warning);
    return false;
}

bool startLauncherProgramWithFile(const LauncherEntry &entry, const QString &file)
{
    if (entry.path.isEmpty())
        return false;
    LaunchCommand command = launchCommandFor(entry.path, { file });
    if (!isDesktopEntryPath(entry.path))
        command.workingFolder = QDir::currentPath();
    QString error;
    if (programStarter().start(command, &error))
        return true;
    host().showText(QStringLiteral("%1: %2").arg(entry.path, error), MessageIcon::Information,
        MessageButtons::Ok, 0);
    return false;
}

} // namespace glimmerix
