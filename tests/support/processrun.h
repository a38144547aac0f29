#pragma once

#include <QString>
#include <QStringList>

// How a program the test ran ended and what it printed.
struct ProcessRun {
    int status = -1; // its exit code; -1 when it could not start, crashed or ran out of time
    QString out;
    QString err;
};

struct ProcessOptions {
    QStringList environment; // NAME=VALUE entries added to the test's own environment
    int timeoutMs = 120000;
};

// Runs `program` with `args` and waits for it to end, at most the options' time.
ProcessRun runProgram(
    const QString &program, const QStringList &args, const ProcessOptions &options = {});
// Runs the build's glimix-cli; it inherits the test's private home from the environment.
ProcessRun runCli(const QStringList &args, const ProcessOptions &options = {});
