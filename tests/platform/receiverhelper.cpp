// Stand-in first instance for the two-process hand-over tests: takes the instance lock and
// listens as the name given, like the program does, and prints "begin <path>" and "end <path>"
// around each received file on standard output, holding each one for the given milliseconds so
// that overlapping hand-overs would show. Prints "ready" once it listens.
//
//   instance_receiver <instance name> <hold ms>

#include "platform/instancechannel.h"
#include "platform/instancelock.h"
#include "platform/relayfile.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>

using namespace glimmerix;

namespace
{

class PrintingReceiver final : public HandoverReceiver
{
public:
    explicit PrintingReceiver(int holdMs)
        : m_holdMs(holdMs)
    {
    }
    void receiveHandedOverFile(const QString &path) override
    {
        print("begin", path);
        QThread::msleep(m_holdMs);
        print("end", path);
    }

private:
    static void print(const char *what, const QString &path)
    {
        std::printf("%s %s\n", what, path.toUtf8().constData());
        std::fflush(stdout);
    }
    int m_holdMs;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: instance_receiver <instance name> <hold ms>\n");
        return 2;
    }
    InstanceLock lock(arguments.at(1));
    if (!lock.tryLock()) {
        std::fprintf(stderr, "%s\n", qPrintable(lock.errorString()));
        return 1;
    }
    PrintingReceiver printer(arguments.at(2).toInt());
    RelayFileReceiver relay(&printer);
    InstanceServer server;
    server.setReceiver(kRelayFileMessage, &relay);
    if (!server.listen(arguments.at(1))) {
        std::fprintf(stderr, "%s\n", qPrintable(server.errorString()));
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return QCoreApplication::exec();
}
