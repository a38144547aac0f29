// glimix-cli disc drives: lists the CD and DVD writers the disc library sees, one per line, with
// the address that --burn takes.

#include "clicommand.h"

#include "cdout/discburner.h"

using namespace glimmerix;

namespace
{

const QString kCommand = QStringLiteral("disc");

int runDisc(const QStringList &args)
{
    if (args != QStringList { QStringLiteral("drives") })
        return cliUsageError(kCommand, QStringLiteral("the one sub-command is: drives"));
    const QList<DiscWriter> writers = discWriters();
    for (const DiscWriter &writer : writers)
        cliOut(QStringLiteral("%1\t%2 %3\n").arg(writer.address, writer.vendor, writer.product));
    if (writers.isEmpty())
        cliErr(cliProgramName() + QStringLiteral(": no disc writer found\n"));
    return 0;
}

const CliRegistration registration({ kCommand, QStringLiteral("disc drives"),
    QStringLiteral("list the disc writers (addresses for webalbum --burn)"),
    QStringLiteral("A file can stand in for a writer: --burn stdio:/path/to/file."), runDisc });

} // namespace
