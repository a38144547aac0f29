#pragma once

#include "platform/programstarter.h"

#include <QString>

namespace glimmerix
{

class SettingsStore;

// The add-on job of a CD application driven by a list file and a command line. Nothing is kept
// between calls: everything is derived from the application's folder P in the user root.
namespace wincdr
{

QString keyPath();
// True when the application's "EXE" and "WorkDirectory" values are both there and not empty.
bool isAvailable(const SettingsStore &settings);
// The transfer folder P/Temp/ (made when missing); empty when P is not registered.
QString transferFolder(const SettingsStore &settings);
// The list file P/NAME.log.
QString listFile(const SettingsStore &settings, const QString &projectName);

// Deletes every file of the transfer folder (folders stay). 0 when P is not registered.
int clearTransferFolder(const SettingsStore &settings);
// Writes the transfer folder's own AutoRun.inf naming NAME.EXE and makes the list file anew,
// empty. 0 when either cannot be written.
int beginJob(const SettingsStore &settings, const QString &projectName);
// Appends the file's place in the transfer folder to the list file and copies it there,
// replacing. 0 when the line cannot be written.
int addFile(const SettingsStore &settings, const QString &path, const QString &projectName);
// The command that starts the application on the list: P/wincdr.exe with the arguments
// "/add-on", NAME.log and P, as separate arguments (no shell).
LaunchCommand command(const QString &programFolder, const QString &projectName);
// Starts it without waiting; 1 when it started.
int run(const SettingsStore &settings, const QString &projectName);

} // namespace wincdr
} // namespace glimmerix
