#include "serviceprocess.h"

#include "online/onlinejobs.h"
#include "online/ui/downloaddialog.h"
#include "online/ui/previewarea.h"
#include "online/ui/uploaddialog.h"

#include "core/messageids.h"
#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

#include <gtest/gtest.h>

namespace
{

const QString kPassword = QStringLiteral("dialog pass&1");

struct DialogService {
    QString root = makeTestFolder(QStringLiteral("service"));
    bool ready = ServiceProcess::addUser(root, QStringLiteral("ann"), kPassword);
    ServiceProcess process { root };
};

OnlineService serviceAt(const QString &site)
{
    OnlineService service;
    service.site = site;
    return service;
}

QList<UploadItem> pictures(int count)
{
    const QString folder = makeTestFolder(QStringLiteral("pictures"));
    QList<UploadItem> items;
    for (int i = 0; i < count; ++i) {
        QImage image(32, 24, QImage::Format_RGB888);
        image.fill(QColor::fromHsv(i * 60, 200, 200));
        const QString path = QDir(folder).filePath(QStringLiteral("p%1.jpg").arg(i));
        image.save(path);
        items.append({ path, QStringLiteral("caption %1").arg(i) });
    }
    return items;
}

} // namespace

TEST(OnlineDialogs, UploadChecksItsFieldsAndStaysOpenOnARefusedLogin)
{
    const DialogService service;
    ASSERT_TRUE(service.ready && service.process.started());
    RecordingHost recorder;
    sessionCredentials() = {};
    const std::unique_ptr<HttpTransport> transport = makeCurlTransport({ 5, 10 });
    UploadDialog dialog(*transport, serviceAt(service.process.site()), pictures(2));
    auto *user = dialog.findChild<QLineEdit *>(QStringLiteral("userName"));
    auto *password = dialog.findChild<QLineEdit *>(QStringLiteral("password"));
    ASSERT_TRUE(user && password);
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);

    dialog.accept();
    user->setText(QStringLiteral("ann"));
    dialog.accept();
    password->setText(QStringLiteral("wrong"));
    dialog.accept();
    EXPECT_EQ(recorder.messageIds(),
        (QList<int> { Message::kOnlineNoUserName, Message::kOnlineNoPassword,
            Message::kOnlineUploadRefused }));
    EXPECT_EQ(dialog.result(), QDialog::Rejected); // still open for another try

    recorder.clear();
    password->setText(kPassword);
    dialog.accept();
    EXPECT_TRUE(recorder.messageIds().isEmpty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(sessionCredentials().userName, QStringLiteral("ann"));
}

TEST(OnlineDialogs, DownloadSignsInAgainAfterARefusalAndChecksTheFolder)
{
    const DialogService service;
    ASSERT_TRUE(service.ready && service.process.started());
    RecordingHost recorder;
    const std::unique_ptr<HttpTransport> transport = makeCurlTransport({ 5, 10 });
    {
        OnlineClient client(*transport, serviceAt(service.process.site()));
        client.setCredentials(QStringLiteral("ann"), kPassword);
        const std::atomic<bool> cancel = false;
        ASSERT_EQ(
            uploadPictures(client, {}, pictures(3), cancel, [](int, const QString &) {}).stored, 3);
    }
    const QString photos = makeTestFolder(QStringLiteral("photos")) + QLatin1Char('/');
    DownloadDialog dialog(*transport, serviceAt(service.process.site()), photos);
    QStringList passwords { QStringLiteral("wrong"), kPassword };
    dialog.setLoginPrompt([&](OnlineCredentials &credentials) {
        credentials = { QStringLiteral("ann"), passwords.takeFirst() };
        return true;
    });
    QTimer::singleShot(0, &dialog, [&] {
        auto *list = dialog.findChild<QListWidget *>(QStringLiteral("pictures"));
        auto *folder = dialog.findChild<QLineEdit *>(QStringLiteral("folder"));
        ASSERT_TRUE(list && folder);
        EXPECT_EQ(list->count(), 3);
        EXPECT_EQ(list->currentRow(), 0);
        // The photos folder is shown without its trailing slash.
        EXPECT_EQ(folder->text(), photos.chopped(1));
        folder->setText(photos + QStringLiteral("missing"));
        dialog.accept();
        EXPECT_TRUE(dialog.isVisible());
        folder->setText(photos);
        list->item(0)->setSelected(true);
        list->item(2)->setSelected(true);
        dialog.accept();
    });
    EXPECT_EQ(dialog.run(), QDialog::Accepted);
    EXPECT_EQ(recorder.messageIds(),
        (QList<int> { Message::kOnlineLoginRefused, Message::kOnlineNoDownloadFolder }));
    const QList<RemoteImage> &records = dialog.records();
    ASSERT_EQ(records.size(), 3);
    EXPECT_TRUE(records[0].downloaded && !records[1].downloaded && records[2].downloaded);
    EXPECT_EQ(records[2].filename, photos.chopped(1) + QStringLiteral("/3_p2.jpg"));
    EXPECT_TRUE(QFileInfo(records[2].filename).isFile());
}

TEST(OnlineDialogs, PreviewPlacement)
{
    // The area less 5 left and right and 10 top and bottom, 6 down: 75 x 78 at (5, 16).
    const QRect area(0, 0, 85, 98);
    EXPECT_EQ(PreviewArea::pictureRect(area, QSize(150, 100)), QRect(5, 30, 75, 50));
    EXPECT_EQ(PreviewArea::pictureRect(area, QSize(39, 78)), QRect(23, 16, 39, 78));
    EXPECT_EQ(PreviewArea::pictureRect(area, QSize()), QRect());
}
