// glimix-cli strings N...: prints entries of the language bundle's string table.

#include "clicommand.h"

#include "platform/fillin.h"
#include "platform/strings.h"

using namespace glimmerix;

namespace
{

int runStrings(const QStringList &args)
{
    if (args.isEmpty())
        return cliUsageError(QStringLiteral("strings"), QStringLiteral("give at least one number"));
    int status = 0;
    for (const QString &arg : args) {
        bool ok = false;
        const int id = arg.toInt(&ok);
        if (!ok || !hasString(id)) {
            cliErr(QStringLiteral("%1 strings: no string %2\n").arg(cliProgramName(), arg));
            status = 1;
            continue;
        }
        cliOut(args.size() == 1 ? loadString(id) + u'\n'
                                : fillIn(QStringLiteral("%1\t%2\n"), id, loadString(id)));
    }
    return status;
}

const CliRegistration registration({ QStringLiteral("strings"), QStringLiteral("strings N..."),
    QStringLiteral("print string-table entries of the language bundle"), {}, runStrings });

} // namespace
