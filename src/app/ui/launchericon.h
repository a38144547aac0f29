#pragma once

#include <QIcon>
#include <QString>

namespace glimmerix
{

// The icon a launcher program shows: a ".desktop" entry's Icon= (a theme name or a file), else
// the icon the desktop gives the file, else the program's own icon (bundle icon 129).
QIcon launcherProgramIcon(const QString &path);

} // namespace glimmerix
