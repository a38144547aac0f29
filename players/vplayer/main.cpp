// vplayer.bin [POSTCARD] [--snapshot FILE]: plays a video postcard. Without POSTCARD it reads
// background.vtp beside the program, as it does when a recipient starts VideoPostcard.exe from
// the package folder or the disc. With --snapshot it saves a picture of its window once the
// clip's first picture shows (or the clip fails, or 15 seconds pass) and ends: status 0 when the
// clip played, 3 when it did not.

#include "postcardwindow.h"

#include "publish/postcardfile.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>

using namespace glimmerix;

namespace
{

constexpr qint64 kMaxPostcardBytes = qint64(256) << 20;
constexpr int kSnapshotDeadlineMs = 15000;

int fail(const QString &file, const QString &cause, bool quiet)
{
    const QString text = file + QStringLiteral(": ") + cause;
    std::fprintf(stderr, "vplayer.bin: %s\n", qPrintable(text));
    if (!quiet)
        QMessageBox::warning(nullptr, QObject::tr("Video Postcard"), text);
    return 1;
}

// The clip beside the postcard: the file whose name equals `name` without regard to case, as on
// the discs and Windows folders the postcard was made for.
QString findClip(const QString &folder, const QString &name)
{
    if (name.isEmpty())
        return {};
    const QStringList entries = QDir(folder).entryList(QDir::Files);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return QDir(folder).filePath(entry);
    }
    return {};
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "ffmpeg");
    QApplication app(argc, argv);
    QString path;
    QString snapshot;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--snapshot") && i + 1 < args.size())
            snapshot = args.at(++i);
        else
            path = args.at(i);
    }
    const bool quiet = !snapshot.isEmpty();
    if (path.isEmpty())
        path = QDir(QCoreApplication::applicationDirPath())
                   .filePath(QStringLiteral("background.vtp"));

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(path, file.errorString(), quiet);
    if (file.size() > kMaxPostcardBytes)
        return fail(path, QStringLiteral("the file is too large for a postcard"), quiet);
    QString error;
    const std::optional<PostcardContent> content = readPostcardFile(file.readAll(), &error);
    if (!content)
        return fail(path, error, quiet);
    if (!content->hasEntry)
        return fail(path, QStringLiteral("the postcard holds no frame"), quiet);

    const QString clip = findClip(QFileInfo(path).absolutePath(), content->clipName);
    PostcardWindow window(*content, clip);
    window.resize(window.sizeHint());
    window.show();
    if (snapshot.isEmpty())
        return app.exec();

    int status = 3;
    bool saved = false;
    const auto save = [&](bool played) {
        if (saved)
            return;
        saved = true;
        window.grab().save(snapshot);
        status = played ? 0 : 3;
        app.quit();
    };
    QObject::connect(&window, &PostcardWindow::clipStarted, &app, [&](bool played) {
        // Let a few more pictures come so the snapshot shows the clip moving, not its first one.
        QTimer::singleShot(played ? 400 : 0, &app, [&save, played] { save(played); });
    });
    QTimer::singleShot(kSnapshotDeadlineMs, &app, [&save] { save(false); });
    if (clip.isEmpty())
        QTimer::singleShot(0, &app, [&save] { save(false); });
    app.exec();
    return status;
}
