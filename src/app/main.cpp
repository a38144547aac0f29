// glimix: the Glimmerix desktop program.

#include "app/appsettings.h"
#include "app/commandline.h"
#include "app/guihost.h"
#include "app/instancestartup.h"
#include "app/receivedfileslist.h"
#include "platform/paths.h"
#include "platform/strings.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QMessageBox>

#include <cstdio>

namespace
{

// Shows the built-in "cannot find the bundle" message: always on standard error, and in a box
// when there is a screen to show it on.
void reportMissingBundle(const QString &bundleName)
{
    const MissingBundleMessage message = missingBundleMessage(systemLanguageName(), bundleName);
    std::fprintf(stderr, "%s\n", message.text.toLocal8Bit().constData());
    const QString platform = QGuiApplication::platformName();
    if (platform != QLatin1String("offscreen") && platform != QLatin1String("minimal"))
        QMessageBox::warning(nullptr, QStringLiteral("Glimmerix"), message.text);
}

void reportInstanceProblem(const InstanceStartup &instance)
{
    if (!instance.errorString().isEmpty())
        std::fprintf(stderr, "glimix: %s\n", instance.errorString().toLocal8Bit().constData());
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Glimmerix"));
    QApplication::setApplicationDisplayName(QStringLiteral("Glimmerix"));
    QApplication::setApplicationVersion(QStringLiteral(GLIMMERIX_VERSION));

    const QString bundleName = QString::fromLatin1(kLanguageBundleFileName);
    if (!loadLanguageBundle(joinPath(resourceFolder(), bundleName))) {
        reportMissingBundle(bundleName);
        return 1;
    }
    GuiHost guiHost;
    setHost(&guiHost);
    appSettings().load();

    // A second start with picture files gives them to the running instance and ends here.
    const StartupCommandLine commandLine
        = parseCommandLine(QApplication::arguments().mid(1), QDir::currentPath());
    InstanceStartup instance(QFileInfo(QApplication::applicationFilePath()).completeBaseName());
    const InstanceStartup::Role role = instance.claim(commandLine);
    reportInstanceProblem(instance);
    if (role == InstanceStartup::Role::HandedOver)
        return 0;

    // Until the album window exists, a list stands in for the album the files are added to.
    QMainWindow window;
    window.setWindowTitle(loadString(57344));
    auto *files = new ReceivedFilesList(&window);
    files->addItems(instance.filesToAddHere());
    window.setCentralWidget(files);
    guiHost.setMainWindow(&window);
    if (role == InstanceStartup::Role::FirstInstance && !instance.receiveHandovers(files))
        reportInstanceProblem(instance);
    window.resize(800, 600);
    window.show();
    const int status = app.exec();
    appSettings().saveOnExit();
    return status;
}
