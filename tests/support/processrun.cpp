#include "processrun.h"

#include "testenvironment.h"

#include <QProcess>
#include <QProcessEnvironment>

ProcessRun runProgram(const QString &program, const QStringList &args, const ProcessOptions &options)
{
    QProcess process;
    if (!options.environment.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString &entry : options.environment) {
            const qsizetype equals = entry.indexOf(u'=');
            environment.insert(entry.left(equals), entry.mid(equals + 1));
        }
        process.setProcessEnvironment(environment);
    }
    process.start(program, args);
    const bool finished = process.waitForFinished(options.timeoutMs);
    if (!finished)
        process.kill();
    ProcessRun run;
    run.status = finished && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

ProcessRun runCli(const QStringList &args, const ProcessOptions &options)
{
    return runProgram(programFolder() + QStringLiteral("/glimix-cli"), args, options);
}
