#include "serviceprocess.h"

#include "album/albumdoc.h"
#include "album/albumformat.h"
#include "album/albumitem.h"
#include "support/processrun.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QImage>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

ProcessRun online(const QStringList &args, const QString &password)
{
    return runCli(QStringList { QStringLiteral("online") } + args,
        { { QStringLiteral("GLIMMERIX_PASSWORD=") + password } });
}

} // namespace

TEST(OnlineCli, UploadListAndDownloadIntoANewAlbum)
{
    const QString root = makeTestFolder(QStringLiteral("service"));
    const QString password = QStringLiteral("cli pass#1");
    ASSERT_TRUE(ServiceProcess::addUser(root, QStringLiteral("ann"), password));
    const ServiceProcess service(root);
    ASSERT_TRUE(service.started());

    const QString media = makeTestFolder(QStringLiteral("media"));
    const QString album = QDir(media).filePath(QStringLiteral("trip.gmx"));
    {
        // The album is saved and let go (with its lock) before the tool opens it.
        CAlbumDoc doc;
        for (int i = 0; i < 2; ++i) {
            QImage image(40, 30, QImage::Format_RGB888);
            image.fill(i ? Qt::red : Qt::blue);
            const QString path = QDir(media).filePath(QStringLiteral("p%1.jpg").arg(i));
            ASSERT_TRUE(image.save(path));
            ASSERT_EQ(doc.addFile(path), 1);
            doc.setItemText(i, ItemField::Caption, QStringLiteral("Caption %1").arg(i));
        }
        ASSERT_TRUE(doc.onSaveDocument(album));
    }
    const QStringList account { QStringLiteral("--site"), service.site(), QStringLiteral("--user"),
        QStringLiteral("ann") };

    ProcessRun run = online(QStringList { QStringLiteral("upload"), album,
                                QStringLiteral("--items"), QStringLiteral("1") }
            + account,
        password);
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QLatin1String("1 of 1 picture uploaded")));

    run = online(QStringList { QStringLiteral("list") } + account, password);
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("1\tp1.jpg\tCaption 1\n"));

    const QString into
        = QDir(makeTestFolder(QStringLiteral("albums"))).filePath(QStringLiteral("fetched.gmx"));
    const QString folder = makeTestFolder(QStringLiteral("downloads"));
    run = online(QStringList { QStringLiteral("download"), QStringLiteral("1"),
                     QStringLiteral("--into"), into, QStringLiteral("--folder"), folder }
            + account,
        password);
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    CAlbumDoc fetched;
    ASSERT_TRUE(fetched.onOpenDocument(into));
    ASSERT_EQ(fetched.itemCount(), 1);
    EXPECT_EQ(fixedText(fetched.item(0)->info()->caption), QStringLiteral("Caption 1"));
    EXPECT_EQ(fileBytes(fetched.item(0)->absolutePath()),
        fileBytes(QDir(media).filePath(QStringLiteral("p1.jpg"))));

    // A wrong password fails without naming it; a missing user is a usage error.
    run = online(QStringList { QStringLiteral("list") } + account, QStringLiteral("wrong&pw"));
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(run.err.contains(QLatin1String("wrong&pw")));
    EXPECT_EQ(online({ QStringLiteral("list") }, password).status, 2);
}
