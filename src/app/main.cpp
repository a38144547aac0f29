// glimix: the Glimmerix desktop program.

#include "album/albumdoc.h"
#include "app/ui/albumcommands.h"
#include "app/ui/guihost.h"
#include "app/ui/launcherbar.h"
#include "app/ui/mainframe.h"
#include "app/ui/recentalbumsmenu.h"
#include "app/ui/singlefileviewing.h"
#include "applicationname.h"
#include "cdout/ui/cdoutputsetup.h"
#include "commandline.h"
#include "core/appsettings.h"
#include "core/imagepath.h"
#include "core/resourceids.h"
#include "instancestartup.h"
#include "media/qtaudiobackend.h"
#include "platform/paths.h"
#include "platform/strings.h"
#include "publish/ui/presentationwindow.h"
#include "view/ui/albumview.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QSplashScreen>
#include <QTimer>

#include <cstdio>

namespace glimmerix
{
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
} // namespace glimmerix

int main(int argc, char *argv[])
{
    using namespace glimmerix;

    // Sounds and clips play through Qt Multimedia's FFmpeg backend, which needs no further
    // system plugins.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "ffmpeg");
    QApplication app(argc, argv);
    nameApplication(QStringLiteral(GLIMMERIX_VERSION));
    // Lets the desktop match the windows to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.glimmerix.Glimmerix"));

    const QString bundleName = QString::fromLatin1(kLanguageBundleFileName);
    if (!loadLanguageBundle(joinPath(resourceFolder(), bundleName))) {
        reportMissingBundle(bundleName);
        return 1;
    }
    GuiHost guiHost;
    setHost(&guiHost);
    QtAudioBackend audio;
    setAudioBackend(&audio);

    // A second start with picture files gives them to the running instance and ends here.
    // `glimix --present ALBUM` plays the album full screen as soon as it is open.
    QStringList arguments = QApplication::arguments().mid(1);
    const bool present = arguments.removeAll(QStringLiteral("--present")) > 0;
    const StartupCommandLine commandLine = parseCommandLine(arguments, QDir::currentPath());
    InstanceStartup instance(QFileInfo(QApplication::applicationFilePath()).completeBaseName());
    // Single-file viewing runs on its own: it neither hands its file over nor receives any.
    const InstanceStartup::Role role = commandLine.embedding ? InstanceStartup::Role::SecondInstance
                                                             : instance.claim(commandLine);
    reportInstanceProblem(instance);
    if (role == InstanceStartup::Role::HandedOver)
        return 0;

    AppSettings &settings = appSettings();
    settings.load();

    // The start-up picture shows until the main window is up.
    QSplashScreen splash(QPixmap::fromImage(bundleBitmap(Resource::kStartupBitmap)));
    if (!splash.pixmap().isNull())
        splash.show();

    CMainFrame frame;
    guiHost.setMainWindow(&frame);
    guiHost.setStatusSink(
        [&frame](int pane, const QString &text) { frame.setStatusText(pane, text); });
    frame.view()->setFieldLabels({ settings.fieldLabel(ItemField::Caption),
        settings.fieldLabel(ItemField::Keywords), settings.fieldLabel(ItemField::Description) });
    QObject::connect(
        &frame, &CMainFrame::fieldLabelsChanged, [&settings](const QStringList &labels) {
            settings.setFieldLabels(labels.value(0), labels.value(1), labels.value(2));
        });
    QObject::connect(&frame, &CMainFrame::lastFileChanged,
        [&settings](const QString &path) { settings.setLastFile(path); });
    // Single-file viewing shows one private album: no other album is offered there.
    if (!commandLine.embedding)
        new RecentAlbumsMenu(frame, settings.store());
    frame.launcherBar()->useSettings(settings);
    frame.albumCommands()->setAddPhotoFolder(settings.addPhotoPath());
    QObject::connect(frame.albumCommands(), &AlbumCommands::addPhotoFolderChanged,
        [&settings](const QString &folder) { settings.setAddPhotoPath(folder); });

    if (role == InstanceStartup::Role::FirstInstance) {
        if (!instance.receiveHandovers(&frame))
            reportInstanceProblem(instance);
        instance.server().setReceiver(kImagePathMessage, &frame);
    }

    installCdOutput(settings.store(), &frame);

    if (commandLine.embedding) {
        // The window stays hidden while the file is on show (see SingleFileViewing).
        splash.close();
        // The hidden window must not end the program when the picture window closes: the compact
        // window comes forward then, and closing that ends the program.
        QApplication::setQuitOnLastWindowClosed(false);
        QObject::connect(
            &frame, &CMainFrame::closed, &app, &QCoreApplication::quit, Qt::QueuedConnection);
        (new SingleFileViewing(frame))->start(commandLine.fileName);
    } else {
        frame.show();
        splash.finish(&frame);
        // Qt does not ask for the keyboard when it shows a window; without it no shortcut (Ctrl+S,
        // Ctrl+Q) reaches the window until the user clicks into it.
        frame.activateWindow();

        // The album named on the command line, else the last album; a last album whose file is gone
        // is forgotten. A start with media files but no album puts them into a new, untitled album.
        const bool mediaFilesOnly
            = !commandLine.fileName.isEmpty() && !isAlbumFileName(commandLine.fileName);
        const QString album
            = mediaFilesOnly ? QString() : albumToShow(commandLine, settings.lastFile());
        frame.SelectAlbumByName(album.isEmpty() ? CAlbumDoc::untitledName() : album);
        if (forgetsLastAlbum(album, settings.lastFile(), frame.document()->pathName()))
            settings.setLastFile(QString());
        const QStringList files = instance.filesToAddHere();
        {
            const CAlbumDoc::ChangeBatch batch(*frame.document());
            for (const QString &file : files)
                frame.document()->addFile(file, -1);
        }

        if (present)
            QTimer::singleShot(
                0, &frame, [&frame] { startPresentationNow(*frame.document(), &frame); });
    }

    const int status = app.exec();
    finishCdOutput();
    settings.saveOnExit();
    return status;
}
