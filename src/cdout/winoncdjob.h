#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

namespace glimmerix
{

class SettingsStore;

namespace winoncd
{

// The project-file job of a CD application that reads a "TEMP.CPJ" project: one job at a time,
// kept in this module. Files wait in a staging folder, GXTMP/TMPn under the private runtime
// folder, until the application has read them.

// Where the application is registered (machine root) and the value naming its program.
QString winOnCdKeyPath();
QString winOnCdProgramValue();
// True when the registered program file exists.
bool isWinOnCdInstalled(const SettingsStore &settings);
// True while the application's main window is open (see windowClassExists).
bool isWinOnCdRunning();

// The staging tree (runtime folder + "/GXTMP"), and this job's staging folder in it, made on
// first use: the first TMPn (n = 1, 2, ...) that does not exist yet. Ends with '/'; empty when
// it cannot be made.
QString stagingRoot();
QString stagingFolder();
// Removes the staging tree unless the application is running (it may still be reading).
void clearStaging();

void setMainFile(const QString &path);
// Appends `path` unless it is listed already (exact comparison) and registers its folder.
void addFile(const QString &path);
void setStartFolder(const QString &name);

// The project text for the job as it stands, dated `today`, with CR LF line ends. Registers the
// main file's folder before the folder table, so every file line's folder is in the table.
QByteArray winOnCdProject(const QDate &today);
// Writes staging folder + "TEMP.CPJ", resets the job and opens the project with the desktop's
// program for it. False when the file could not be written (the job is reset all the same).
bool writeProjectAndOpen(const QDate &today = QDate::currentDate());
// Forgets the job (tests; writeProjectAndOpen does it itself).
void resetWinOnCdJob();

} // namespace winoncd
} // namespace glimmerix
