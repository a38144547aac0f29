#include "programstarter.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace glimmerix
{

bool ProgramStarter::openDocument(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool ProcessStarter::start(const LaunchCommand &command, QString *error)
{
    if (!command.isValid()) {
        if (error)
            *error = QStringLiteral("The program entry cannot be read.");
        return false;
    }
    QProcess process;
    process.setProgram(command.program);
    process.setArguments(command.arguments);
    process.setWorkingDirectory(command.workingFolder);
    process.setStandardInputFile(QProcess::nullDevice());
    if (process.startDetached())
        return true;
    if (error)
        *error = process.errorString();
    return false;
}

namespace
{
ProcessStarter defaultStarter;
ProgramStarter *currentStarter = &defaultStarter;
} // namespace

ProgramStarter &programStarter()
{
    return *currentStarter;
}

ProgramStarter *setProgramStarter(ProgramStarter *starter)
{
    ProgramStarter *previous = currentStarter;
    currentStarter = starter ? starter : &defaultStarter;
    return previous;
}

} // namespace glimmerix
