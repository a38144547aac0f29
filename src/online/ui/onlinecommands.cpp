#include "onlinecommands.h"

#include "downloaddialog.h"
#include "uploaddialog.h"

#include "online/onlinealbum.h"

#include "album/albumdoc.h"
#include "core/commandids.h"
#include "core/messageids.h"
#include "platform/host.h"

#include <QApplication>

namespace glimmerix
{

namespace
{

void runDownload(
    CAlbumDoc &document, QWidget *frame, const OnlineService &service, const QString &photosFolder)
{
    const std::unique_ptr<HttpTransport> transport = makeCurlTransport();
    DownloadDialog dialog(*transport, service, photosFolder, frame);
    if (dialog.run() != QDialog::Accepted)
        return;
    QStringList problems;
    addDownloadedPictures(document, dialog.records(), &problems);
    if (!problems.isEmpty())
        host().showMessage(Message::kProductProblems, { problems.join(QLatin1Char('\n')) });
}

void runUpload(CAlbumDoc &document, QWidget *frame, const OnlineService &service)
{
    const QList<UploadItem> items = uploadItemsOf(document, uploadIndexes(document));
    if (items.isEmpty())
        return;
    const std::unique_ptr<HttpTransport> transport = makeCurlTransport();
    UploadDialog dialog(*transport, service, items, frame);
    dialog.exec();
}

} // namespace

CommandSet onlineCommandSet(CAlbumDoc &document, QWidget *frame,
    std::function<OnlineService()> service, std::function<QString()> photosFolder)
{
    CommandSet set;
    set.name = QStringLiteral("online");
    set.menus = { standardMenu(kAlbumMenu) };
    set.commands = {
        { Command::kOnlineDownload, 0,
            QApplication::translate("CMainFrame", "&Download from Online Service..."),
            [&document, frame, service, photosFolder] {
                runDownload(document, frame, service(), photosFolder());
            },
            {}, { kAlbumMenu, 600 } },
        { Command::kOnlineUpload, 0,
            QApplication::translate("CMainFrame", "&Upload to Online Service..."),
            [&document, frame, service] { runUpload(document, frame, service()); },
            [&document] { return document.itemCount() > 0; }, { kAlbumMenu, 610 } },
    };
    return set;
}

} // namespace glimmerix
