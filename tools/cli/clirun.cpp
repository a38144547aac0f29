// The command-line tool's commands, loaded by glimix-cli (main.cpp) when a command runs: loads
// the language bundle, installs the terminal host and runs one sub-command from the command
// table.

#include "clicommand.h"

#include "platform/clihost.h"
#include "platform/paths.h"
#include "platform/strings.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>

#include <algorithm>

using namespace glimmerix;

namespace
{

// Outside a desktop session Qt warns that XDG_RUNTIME_DIR is unset; the tool does not use Qt's
// runtime folder, so that warning is noise on a terminal. Everything else passes through.
QtMessageHandler g_defaultMessageHandler = nullptr;

void filterQtMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    g_defaultMessageHandler(type, context, message);
}

void printHelp()
{
    std::vector<CliCommand> commands = cliCommands();
    std::sort(commands.begin(), commands.end(),
        [](const CliCommand &a, const CliCommand &b) { return a.synopsis < b.synopsis; });
    QString text = QStringLiteral("Usage: %1 COMMAND [ARGUMENTS]\n").arg(cliProgramName())
        + QStringLiteral("Glimmerix album manager, command-line tool.\n\n"
                         "  --version               print the product name and version\n"
                         "  --help                  print this help\n");
    for (const CliCommand &command : commands) {
        // A synopsis of two forms puts each on a line of its own, both indented alike.
        const QString synopsis = QString(command.synopsis).replace(u'\n', QStringLiteral("\n  "));
        text += QStringLiteral("  %1\n      %2\n").arg(synopsis, command.summary);
        if (!command.details.isEmpty()) {
            for (const QString &line : command.details.split(u'\n'))
                text += QStringLiteral("      %1\n").arg(line);
        }
    }
    text += QStringLiteral(
        "\nFiles: albums and media live in $GLIMMERIX_HOME (default ~/Glimmerix).\n");
    cliOut(text);
}

} // namespace

// The entry point main.cpp looks up; the arguments are main's.
extern "C" __attribute__((visibility("default"))) int glimixCliRun(int argc, char *argv[])
{
    // Picture work needs QtGui's image classes but never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    g_defaultMessageHandler = qInstallMessageHandler(filterQtMessages);
    QGuiApplication app(argc, argv);
    // Messages name the program as the user ran it.
    const QString ranAs = QFileInfo(QString::fromLocal8Bit(argc > 0 ? argv[0] : "")).fileName();
    QCoreApplication::setApplicationName(ranAs.isEmpty() ? QStringLiteral("glimix-cli") : ranAs);
    QCoreApplication::setApplicationVersion(QStringLiteral(GLIMMERIX_VERSION));

    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty() || args.first() == QLatin1String("--help")
        || args.first() == QLatin1String("-h")) {
        printHelp();
        return args.isEmpty() ? 2 : 0;
    }
    if (args.first() == QLatin1String("--version")) {
        cliOut(QStringLiteral("Glimmerix %1\n").arg(QStringLiteral(GLIMMERIX_VERSION)));
        return 0;
    }

    const QString bundleName = QString::fromLatin1(kLanguageBundleFileName);
    if (!loadLanguageBundle(joinPath(resourceFolder(), bundleName))) {
        cliErr(missingBundleMessage(systemLanguageName(), bundleName).text + u'\n');
        return 1;
    }
    CliHost cliHost;
    setHost(&cliHost);

    const QString name = args.takeFirst();
    for (const CliCommand &command : cliCommands()) {
        if (command.name == name)
            return command.run(args);
    }
    return cliUsageError(name, QStringLiteral("unknown command"));
}
