// glimix-cli send-image PATH: hands a picture to the running Glimmerix through the shared memory
// "ImagePath" and message 0x464, as other programs do; the picture is added to its album.

#include "clicommand.h"

#include "album/importer.h"
#include "core/imagepath.h"
#include "platform/fillin.h"
#include "platform/instancechannel.h"

#include <QFileInfo>
#include <QSharedMemory>

using namespace glimmerix;

namespace
{

const QString kCommand = QStringLiteral("send-image");
const QString kInstanceName = QStringLiteral("glimix");
// A window that is free answers in well under a second; one that is busy with a dialog answers at
// once that the picture waits.
constexpr int kReplyTimeoutMs = 15000;

QString publishProblemText(ImagePathProblem problem)
{
    switch (problem) {
    case ImagePathProblem::TooLong:
        return QStringLiteral("the path is longer than %1 bytes").arg(kImagePathBytes - 1);
    case ImagePathProblem::InUse:
        return QStringLiteral("another picture is being handed over (another send-image is "
                              "running); try again when it has finished");
    default:
        return QStringLiteral("the shared memory for the hand-over cannot be made");
    }
}

int sendImage(const QStringList &args)
{
    if (args.size() != 1)
        return cliUsageError(kCommand, QStringLiteral("give one PATH"));
    const QString path = QFileInfo(args.first()).absoluteFilePath();
    // Only a file that can become an item is handed over: the window would add a missing item.
    if (const QString problem = unusableFileProblem(path); !problem.isEmpty())
        return cliFail(args.first(), problem);
    ImagePathProblem problem = ImagePathProblem::None;
    const std::unique_ptr<QSharedMemory> memory = publishImagePath(path, &problem);
    if (!memory)
        return cliFail(path, publishProblemText(problem));
    // The memory stays attached until the running program has answered. It answers at once, also
    // while one of its dialogs is open; no answer means it is stuck in a long piece of work.
    const InstanceReply reply
        = sendInstanceMessage(kInstanceName, kImagePathMessage, 0, 0, {}, kReplyTimeoutMs);
    if (reply.timedOut) {
        cliErr(fillIn(
            QStringLiteral("glimix-cli send-image: Glimmerix is busy and did not answer within "
                           "%1 seconds; %2 was not added\n"),
            kReplyTimeoutMs / 1000, path));
        return 1;
    }
    if (!reply.delivered) {
        return cliFail(path, QStringLiteral("no running Glimmerix: %1").arg(reply.error));
    }
    if (reply.result == kImagePathQueued) {
        cliErr(QStringLiteral("glimix-cli send-image: Glimmerix is busy: %1 will be added when its "
                              "open dialog is closed\n")
                   .arg(path));
        return 0;
    }
    if (reply.result != 1) {
        return cliFail(path, QStringLiteral("the running Glimmerix did not add it"));
    }
    cliOut(QStringLiteral("added %1\n").arg(path));
    return 0;
}

const CliRegistration registration({ kCommand, QStringLiteral("send-image PATH"),
    QStringLiteral("add a picture to the running program's album"), QString(), &sendImage });

} // namespace
