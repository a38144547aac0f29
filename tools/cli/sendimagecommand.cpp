// glimix-cli send-image PATH: hands a picture to the running Glimmerix through the shared memory
// "ImagePath" and message 0x464, as other programs do; the picture is added to its album.

#include "clicommand.h"

#include "core/imagepath.h"
#include "platform/instancechannel.h"

#include <QFileInfo>
#include <QSharedMemory>

namespace
{

const QString kCommand = QStringLiteral("send-image");
const QString kInstanceName = QStringLiteral("glimix");

int sendImage(const QStringList &args)
{
    if (args.size() != 1)
        return cliUsageError(kCommand, QStringLiteral("give one PATH"));
    const QString path = QFileInfo(args.first()).absoluteFilePath();
    const std::unique_ptr<QSharedMemory> memory = publishImagePath(path);
    if (!memory) {
        cliErr(QStringLiteral("glimix-cli send-image: %1: the path is too long or the shared "
                              "memory cannot be made\n")
                   .arg(path));
        return 1;
    }
    // The memory stays attached until the running program has answered.
    const InstanceReply reply = sendInstanceMessage(kInstanceName, kImagePathMessage, 0, 0);
    if (!reply.delivered) {
        cliErr(
            QStringLiteral("glimix-cli send-image: no running Glimmerix: %1\n").arg(reply.error));
        return 1;
    }
    if (reply.result != 1) {
        cliErr(QStringLiteral("glimix-cli send-image: %1 was not added\n").arg(path));
        return 1;
    }
    cliOut(QStringLiteral("added %1\n").arg(path));
    return 0;
}

const CliRegistration registration({ kCommand, QStringLiteral("send-image PATH"),
    QStringLiteral("add a picture to the running program's album"), QString(), &sendImage });

} // namespace
