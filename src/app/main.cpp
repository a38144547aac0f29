// glimix: the Glimmerix desktop program.

#include "app/guihost.h"
#include "platform/paths.h"
#include "platform/strings.h"

#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>

#include <cstdio>

namespace {

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

    QMainWindow window;
    window.setWindowTitle(loadString(57344));
    guiHost.setMainWindow(&window);
    window.resize(800, 600);
    window.show();
    return app.exec();
}
