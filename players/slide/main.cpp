// slide.bin, carried in slide show packages as slideshow.exe: plays the show file "slide.sld"
// that lies beside it, full screen.
//
//   slideshow.exe [FOLDER | SHOWFILE] [--window] [--grab FILE]
//
// FOLDER or SHOWFILE name another show; --window plays in a window instead of full screen;
// --grab saves the screen as FILE once the first picture is up and ends (screenshots, tests).
// Exit status: 0 when the show ran, 1 when the show file cannot be read, 2 on a usage error.

#include "slideplayer.h"

#include "media/audiodevice.h"
#include "media/qtaudiobackend.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QScreen>
#include <QTextStream>

using namespace glimmerix;

namespace
{

void complain(const QString &text)
{
    QTextStream(stderr) << QFileInfo(QCoreApplication::applicationFilePath()).fileName() << ": "
                        << text << '\n';
}

// The show file an argument names: a folder holds "slide.sld".
QString showFilePath(const QString &argument)
{
    const QString path = argument.isEmpty() ? QCoreApplication::applicationDirPath() : argument;
    if (QFileInfo(path).isDir())
        return QDir(path).filePath(QLatin1String(kShowFileName));
    return path;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Slide Show"));
    QString argument;
    QString grabFile;
    bool windowed = false;
    const QStringList args = QApplication::arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--window")) {
            windowed = true;
        } else if (args.at(i) == QLatin1String("--grab") && i + 1 < args.size()) {
            grabFile = args.at(++i);
        } else if (args.at(i).startsWith(QLatin1String("--")) || !argument.isEmpty()) {
            complain(QStringLiteral("usage: [FOLDER | SHOWFILE] [--window] [--grab FILE]"));
            return 2;
        } else {
            argument = args.at(i);
        }
    }

    const QString path = showFilePath(argument);
    SlideShowFile show;
    QString error;
    if (!readShowFile(path, show, error)) {
        complain(error);
        if (!grabFile.isEmpty())
            return 1;
        // Started from a disc or a file manager there is no terminal: say it in a window too.
        QLabel message(QObject::tr("This slide show cannot be played.\n\n%1").arg(error));
        message.setWindowTitle(QApplication::applicationName());
        message.setMargin(24);
        message.show();
        app.exec();
        return 1;
    }

    QtAudioBackend audio;
    setAudioBackend(&audio);
    SlidePlayer player(std::move(show), QFileInfo(path).absolutePath() + u'/');
    if (!grabFile.isEmpty()) {
        player.setFirstPaintObserver([&player, grabFile] {
            if (!player.grab().save(grabFile))
                complain(grabFile + QStringLiteral(": cannot be written"));
            player.close();
        });
    }
    if (windowed) {
        player.resize(960, 720);
        player.show();
    } else {
        // Without a window manager (a bare X server) full screen is only a wish: the window
        // takes the screen's size itself.
        if (const QScreen *screen = QGuiApplication::primaryScreen())
            player.setGeometry(screen->geometry());
        player.showFullScreen();
    }
    player.start();
    const int status = app.exec();
    setAudioBackend(nullptr);
    return status;
}
