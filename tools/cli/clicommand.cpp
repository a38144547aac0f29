#include "clicommand.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

namespace
{

std::vector<CliCommand> &registry()
{
    static std::vector<CliCommand> commands;
    return commands;
}

} // namespace

const std::vector<CliCommand> &cliCommands()
{
    return registry();
}

CliRegistration::CliRegistration(CliCommand command)
{
    registry().push_back(std::move(command));
}

void cliOut(const QString &text)
{
    static QTextStream out(stdout);
    out << text << Qt::flush;
}

void cliErr(const QString &text)
{
    static QTextStream err(stderr);
    err << text << Qt::flush;
}

QString cliProgramName()
{
    const QStringList arguments = QCoreApplication::arguments();
    const QString name = arguments.isEmpty() ? QString() : QFileInfo(arguments.first()).fileName();
    return name.isEmpty() ? QStringLiteral("glimix-cli") : name;
}

int cliFileError(const QString &file, const QString &detail)
{
    cliErr(QStringLiteral("%1: %2: %3\n").arg(cliProgramName(), file, detail));
    return 1;
}

int cliUsageError(const QString &command, const QString &problem)
{
    cliErr(QStringLiteral("glimix-cli %1: %2\nTry 'glimix-cli --help'.\n").arg(command, problem));
    return 2;
}
