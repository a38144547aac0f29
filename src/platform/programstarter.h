#pragma once

#include <QString>
#include <QStringList>

namespace glimmerix
{

// The one seam through which the program starts other programs (launcher buttons, mail, the
// album's own second window). Tests install a recording starter instead.

// How a program is started: the program, its arguments (never split by a shell) and the working
// folder.
struct LaunchCommand {
    QString program;
    QStringList arguments;
    QString workingFolder;
    bool isValid() const { return !program.isEmpty(); }
};

// Starts programs. The program uses a process starter; tests record what would start.
class ProgramStarter
{
public:
    virtual ~ProgramStarter() = default;
    // Starts `command` detached; false (with the system's reason in `error`) when it cannot.
    virtual bool start(const LaunchCommand &command, QString *error) = 0;
    // Opens `path` with the desktop's program for its type; false when none could be started.
    virtual bool openDocument(const QString &path);
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

} // namespace glimmerix
