#include "clicommand.h"

#include <QCoreApplication>
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
    return QCoreApplication::applicationName();
}

int cliFail(const QString &file, const QString &cause)
{
    cliErr(QStringLiteral("%1: %2: %3\n").arg(cliProgramName(), file, cause));
    return 1;
}

int cliFailWith(const QString &detail)
{
    cliErr(QStringLiteral("%1: %2\n").arg(cliProgramName(), detail));
    return 1;
}

int cliUsageError(const QString &command, const QString &problem)
{
    cliErr(QStringLiteral("%1 %2: %3\nTry '%1 --help'.\n").arg(cliProgramName(), command, problem));
    return 2;
}
