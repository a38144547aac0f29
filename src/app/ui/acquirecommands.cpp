#include "acquirecommands.h"

#include "album/acquiredpicture.h"
#include "album/albumdoc.h"
#include "core/appsettings.h"
#include "core/commandids.h"
#include "core/folders.h"
#include "mainframe.h"
#include "media/capturedriver.h"
#include "media/scansource.h"
#include "media/ui/scandialog.h"
#include "media/ui/videocapturedialog.h"
#include "platform/host.h"

#include <QApplication>
#include <QDir>
#include <QInputDialog>

namespace glimmerix
{

namespace
{

// Lets the user pick one of the manager's sources, the remembered one preselected; the name,
// or empty when there is none or the user cancelled.
QString chooseSource(const ScanSourceManager &manager, QWidget *parent)
{
    const QList<ScanSourceInfo> sources = manager.sources();
    if (sources.isEmpty()) {
        host().showText(QApplication::translate("CMainFrame", "No scanner was found."),
            MessageIcon::Warning, MessageButtons::Ok, 0);
        return {};
    }
    const QString preferred = manager.defaultSource(appSettings().acquireSettings().source);
    QStringList labels;
    int current = 0;
    for (const ScanSourceInfo &source : sources) {
        if (source.name == preferred)
            current = int(labels.size());
        labels.append(source.label());
    }
    bool ok = false;
    const QString chosen
        = QInputDialog::getItem(parent, QApplication::translate("CMainFrame", "Select Source"),
            QApplication::translate("CMainFrame", "Sources:"), labels, current, false, &ok);
    if (!ok)
        return {};
    const QString name = sources.at(labels.indexOf(chosen)).name;
    AcquireSettings settings = appSettings().acquireSettings();
    settings.source = name;
    appSettings().setAcquireSettings(settings);
    return name;
}

} // namespace

void selectScannerSource(CMainFrame &frame)
{
    ScanSourceManager manager([](BlockHandle picture) {
        if (isBlockHandle(picture))
            blockFree(picture);
    });
    if (!manager.openManager())
        return;
    chooseSource(manager, &frame);
    manager.closeManager();
}

void acquireFromScanner(CMainFrame &frame)
{
    CAlbumDoc &document = *frame.document();
    ScanSourceManager manager([&document](BlockHandle picture) {
        addAcquiredPicture(document, picture, appSettings().acquireSettings());
    });
    if (!manager.openManager())
        return;
    const QString source = chooseSource(manager, &frame);
    if (source.isEmpty() || !manager.openSource(source)) {
        if (!source.isEmpty())
            host().showText(manager.lastError(), MessageIcon::Warning, MessageButtons::Ok, 0);
        manager.closeManager();
        return;
    }
    if (!manager.setMemoryTransfer() || !manager.enableSource()) {
        manager.closeRequest();
        return;
    }
    manager.setMode(3);
    // The dialog is modal: the main window takes no input until the source is closed.
    ScanDialog dialog(manager, &frame);
    dialog.exec();
}

void runVideoCapture(CMainFrame &frame)
{
    const Folders folders;
    QDir().mkpath(folders.videoFolder());
    QDir().mkpath(folders.photosFolder());
    VideoCaptureDialog dialog(folders.videoFolder(), folders.photosFolder(),
        { installedCaptureDrivers(), [](int index) { return makeCaptureDriver(index); } }, &frame);
    CAlbumDoc &document = *frame.document();
    dialog.setAddToAlbum([&document](const QString &path) { return document.addFile(path); });
    dialog.setOpenPicture([&frame](BlockHandle still) { frame.ShowImageWindow(still, QString()); });
    dialog.exec();
}

CommandSet acquireCommandSet(CMainFrame &frame)
{
    CommandSet set;
    set.name = QStringLiteral("acquire");
    set.menus = { standardMenu(kFileMenu) };
    set.commands = {
        { Command::kVideoCapture, 0, QApplication::translate("CMainFrame", "&Video Capture..."),
            [&frame] { runVideoCapture(frame); }, {}, { kFileMenu, 500 } },
        { Command::kQueryDefaultSource, 0,
            QApplication::translate("CMainFrame", "Select Scanner &Source..."),
            [&frame] { selectScannerSource(frame); }, {}, { kFileMenu, 510 } },
        { Command::kSelectSourceAndAcquire, 0,
            QApplication::translate("CMainFrame", "Ac&quire from Scanner..."),
            [&frame] { acquireFromScanner(frame); }, {}, { kFileMenu, 520 } },
    };
    return set;
}

} // namespace glimmerix
