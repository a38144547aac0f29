#include "album/albumdoc.h"
#include "album/albumitem.h"
#include "album/albummanagement.h"
#include "album/ui/albummanagedialogs.h"
#include "app/ui/mainframe.h"
#include "core/folders.h"

#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace glimmerix;

namespace
{

QString makePicture(const QString &folder, const QString &name)
{
    return makeTestPicture(folder, name, Qt::darkGreen, QSize(40, 30));
}

template<typename Dialog> void whenDialogOpens(std::function<void(Dialog *)> act)
{
    QTimer::singleShot(0, [act = std::move(act)] {
        auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        act(dialog);
    });
}

QStringList entries(const QComboBox *list)
{
    QStringList texts;
    for (int index = 0; index < list->count(); ++index)
        texts << list->itemText(index);
    return texts;
}

// The main window on album "Trip" (one picture); "Home" (another picture) lies beside it.
class ManageFromTheMainWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QDir(albumsFolder()).removeRecursively();
        QDir().mkpath(albumsFolder());
        media = makeTestFolder(QStringLiteral("media"));
        tripPicture = makePicture(media, QStringLiteral("trip.jpg"));
        for (const auto &[name, picture] : { std::pair { QStringLiteral("Trip"), tripPicture },
                 std::pair {
                     QStringLiteral("Home"), makePicture(media, QStringLiteral("home.jpg")) } }) {
            CAlbumDoc album;
            album.onNewDocument();
            ASSERT_EQ(album.addFile(picture), 1);
            ASSERT_TRUE(album.saveAs(name));
        }
        frame = std::make_unique<CMainFrame>();
        frame->SelectAlbumByName(QStringLiteral("Trip"));
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        ASSERT_EQ(frame->albumList()->currentText(), QStringLiteral("Trip"));
    }
    void TearDown() override { frame.reset(); }

    RecordingHost host;
    QString media;
    QString tripPicture;
    std::unique_ptr<CMainFrame> frame;
};

} // namespace

// Renaming or copying onto another album's name asks first, No by default; a replaced album
// goes to the Trash.
TEST_F(ManageFromTheMainWindow, RenameOntoAnExistingNameAsksThenKeepsOneEntryAndOpensIt)
{
    const QString home = albumFileForEntry(albumsFolder(), QStringLiteral("Home"));
    const QByteArray homeBytes = fileBytes(home);
    const auto enterHome = [](AlbumNameDialog *dialog) {
        dialog->nameField()->setText(QStringLiteral("Home"));
        dialog->accept();
    };
    whenDialogOpens<AlbumNameDialog>(enterHome);
    ASSERT_TRUE(frame->runCommand(Command::kRenameAlbum));
    ASSERT_EQ(host.shown().size(), 1);
    EXPECT_EQ(host.shown()[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(host.shown()[0].look.defaultButton, 1); // No
    EXPECT_EQ(fileBytes(home), homeBytes);
    EXPECT_EQ(frame->albumList()->currentText(), QStringLiteral("Trip"));

    host.clear();
    host.queueAnswer(MessageAnswer::Yes);
    whenDialogOpens<AlbumNameDialog>(enterHome);
    ASSERT_TRUE(frame->runCommand(Command::kRenameAlbum));
    EXPECT_EQ(fileBytes(QDir::homePath() + QStringLiteral("/.local/share/Trash/files/Home.gmx")),
        homeBytes);
    const QStringList listed = entries(frame->albumList());
    EXPECT_EQ(listed.count(QStringLiteral("Home")), 1);
    EXPECT_FALSE(listed.contains(QStringLiteral("Trip")));
    EXPECT_EQ(frame->albumList()->currentText(), QStringLiteral("Home"));
    EXPECT_EQ(
        frame->document()->pathName(), albumFileForEntry(albumsFolder(), QStringLiteral("Home")));
    ASSERT_EQ(frame->document()->itemCount(), 1);
    EXPECT_EQ(frame->document()->item(0)->path(), tripPicture);
}

TEST_F(ManageFromTheMainWindow, CopyOntoAnExistingNameKeepsTheCurrentAlbumSelected)
{
    whenDialogOpens<AlbumNameDialog>([](AlbumNameDialog *dialog) {
        dialog->nameField()->setText(QStringLiteral("Home"));
        EXPECT_TRUE(dialog->nameIsEntry());
        dialog->accept();
    });
    host.queueAnswer(MessageAnswer::Yes);
    ASSERT_TRUE(frame->runCommand(Command::kCopyAlbum));
    EXPECT_EQ(frame->albumList()->currentText(), QStringLiteral("Trip"));
    EXPECT_EQ(entries(frame->albumList()).count(QStringLiteral("Home")), 1);
    CAlbumDoc home;
    ASSERT_TRUE(home.onOpenDocument(albumFileForEntry(albumsFolder(), QStringLiteral("Home"))));
    ASSERT_EQ(home.itemCount(), 1);
    EXPECT_EQ(home.item(0)->path(), tripPicture);
    EXPECT_EQ(host.messageIds(), QList<int> { 0 }); // the question only
}

TEST_F(ManageFromTheMainWindow, DeleteWithTheMediaFilesSwitchesToTheUntitledAlbum)
{
    whenDialogOpens<AlbumRemoveDialog>([](AlbumRemoveDialog *dialog) {
        dialog->deleteMediaBox()->setChecked(true);
        dialog->accept();
    });
    ASSERT_TRUE(frame->runCommand(Command::kDeleteAlbum));
    EXPECT_FALSE(QFileInfo::exists(tripPicture));
    EXPECT_FALSE(QFileInfo::exists(albumFileForEntry(albumsFolder(), QStringLiteral("Trip"))));
    EXPECT_FALSE(entries(frame->albumList()).contains(QStringLiteral("Trip")));
    EXPECT_EQ(frame->albumList()->currentText(), CAlbumDoc::untitledName());
    EXPECT_TRUE(frame->document()->isUntitled());
    // The untitled album offers none of the commands that need an album file.
    frame->updateCommandStates();
    EXPECT_FALSE(frame->runCommand(Command::kDeleteAlbum));
    EXPECT_FALSE(frame->runCommand(Command::kRenameAlbum));
}
