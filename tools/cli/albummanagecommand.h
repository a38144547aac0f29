#pragma once

#include <QString>
#include <QStringList>

// The album management sub-commands of "glimix-cli album": rename, copy, delete, properties and
// copy-files. The album command hands them every sub-command it does not know itself.

// True for "rename", "copy", "delete", "properties" and "copy-files".
bool isAlbumManageSubcommand(const QString &name);
// Runs `args` (the sub-command first, then its arguments); returns the exit status.
int runAlbumManageSubcommand(const QStringList &args);
// Lines for the album command's help.
QString albumManageUsage();
