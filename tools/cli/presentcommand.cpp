// glimix-cli present ALBUM: starts the program on ALBUM playing its full-screen presentation at
// once, with the presentation's settings as they stand.

#include "albumcommandsupport.h"
#include "clicommand.h"

#include "core/messageids.h"
#include "platform/programstarter.h"
#include "platform/strings.h"

#include <QCoreApplication>
#include <QDir>

using namespace glimmerix;

namespace
{

const QString kCommand = QStringLiteral("present");

int runPresent(const QStringList &args)
{
    if (args.size() != 1)
        return cliUsageError(kCommand, QStringLiteral("name one album"));
    QString path;
    {
        CAlbumDoc doc;
        path = openAlbumForReading(doc, args.first());
        if (path.isEmpty())
            return 1;
        if (doc.itemCount() == 0)
            return cliFail(path, loadString(Message::kNoPicturesToShow));
    }
    const QString program
        = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("glimix"));
    QString error;
    if (!programStarter().start({ program, { QStringLiteral("--present"), path }, {} }, &error))
        return cliFail(program, error);
    return 0;
}

const CliRegistration registration({ kCommand, QStringLiteral("present ALBUM"),
    QStringLiteral("show the album's pictures full screen in the program"),
    QStringLiteral("Starts glimix on ALBUM with its presentation running (Escape or a click\n"
                   "ends it). The settings are the presentation's defaults: 5 seconds a slide,\n"
                   "transitions on, looping, no sound."),
    runPresent });

} // namespace
