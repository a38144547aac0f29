#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// One sub-command of glimix-cli. Each command lives in its own file and registers itself with
// a static CliRegistration, so adding a command touches no other file.
struct CliCommand {
    QString name; // "album", "convert", ...
    QString synopsis; // "convert IN OUT"
    QString summary; // one line for --help
    QString details; // further lines for --help (may be empty)
    // Runs the command with the arguments after its name; returns the process exit status.
    int (*run)(const QStringList &args);
};

const std::vector<CliCommand> &cliCommands();

struct CliRegistration {
    explicit CliRegistration(CliCommand command);
};

// Writes to standard output / standard error (UTF-8).
void cliOut(const QString &text);
void cliErr(const QString &text);
// The name the user ran the tool by (the base name of argv[0]); every message starts with it.
QString cliProgramName();
// Reports "PROGRAM: FILE: CAUSE" on standard error and returns exit status 1.
int cliFail(const QString &file, const QString &cause);
// Reports "PROGRAM: DETAIL" for a detail that names its file itself ("FILE: CAUSE"); returns 1.
int cliFailWith(const QString &detail);
// Reports a usage error for `command` and returns exit status 2.
int cliUsageError(const QString &command, const QString &problem);
