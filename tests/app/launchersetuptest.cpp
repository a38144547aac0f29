#include "app/launchersetup.h"
#include "app/ui/launcherbar.h"
#include "app/ui/launchersetupdialog.h"
#include "core/appsettings.h"

#include "platform/strings.h"

#include "support/recordinghost.h"
#include "support/recordingstarter.h"
#include "support/testenvironment.h"

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

QString makeProgram(const QString &folder, const QString &name)
{
    const QString path = folder + u'/' + name;
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("#!/bin/sh\n");
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    return path;
}

class SetupFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = makeTestFolder(QStringLiteral("programs"));
        edit = makeProgram(folder, QStringLiteral("EDIT"));
        view = makeProgram(folder, QStringLiteral("view.sh"));
        paint = makeProgram(folder, QStringLiteral("paint"));
        programs
            = { { edit, QStringLiteral("Editor"), {} }, { view, QStringLiteral("Viewer"), {} } };
    }

    RecordingHost host;
    QString folder, edit, view, paint;
    QList<LauncherEntry> programs;
};

} // namespace

TEST_F(SetupFixture, OpensOnThePreselectedLabel)
{
    EXPECT_EQ(LauncherSetupModel(programs).selected(), 0);
    EXPECT_EQ(LauncherSetupModel(programs, QStringLiteral("Viewer")).selected(), 1);
    EXPECT_EQ(LauncherSetupModel(programs, QStringLiteral("Nobody")).selected(), 0);
    EXPECT_FALSE(LauncherSetupModel({}).hasSelection());
}

TEST_F(SetupFixture, AddRefusesDuplicatesMissingFilesAndLongPaths)
{
    LauncherSetupModel model(programs);
    EXPECT_EQ(model.add(edit), LauncherSetupModel::ChooseResult::AlreadyListed);
    EXPECT_EQ(
        model.add(folder + QStringLiteral("/gone")), LauncherSetupModel::ChooseResult::Missing);
    EXPECT_EQ(model.add(u'/' + QString(300, u'x')), LauncherSetupModel::ChooseResult::TooLong);
    EXPECT_EQ(model.add(QString()), LauncherSetupModel::ChooseResult::Cancelled);
    EXPECT_EQ(host.messageIds(),
        (QList<int> { Message::kAlreadyListed, Message::kFileMissing, Message::kPathTooLong }));
    EXPECT_EQ(host.shown()[1].text,
        formatString(Message::kFileMissing, { folder + QStringLiteral("/gone") }));
    EXPECT_EQ(model.count(), 2);

    // Paths compare exactly: a name differing in letter case is another program.
    const QString lower = makeProgram(folder, QStringLiteral("edit"));
    EXPECT_EQ(model.add(lower), LauncherSetupModel::ChooseResult::Done);
    EXPECT_EQ(model.selected(), 2);
    EXPECT_TRUE(model.selectedEntry()->label.isEmpty());
    EXPECT_EQ(LauncherSetupModel::itemText(*model.selectedEntry()), QStringLiteral("edit"));
}

TEST_F(SetupFixture, ChangeRemoveAndAccept)
{
    LauncherSetupModel model(programs, QStringLiteral("Viewer"));
    EXPECT_EQ(model.change(edit), LauncherSetupModel::ChooseResult::AlreadyListed);
    EXPECT_EQ(model.change(view), LauncherSetupModel::ChooseResult::Done); // its own program
    EXPECT_EQ(model.change(paint), LauncherSetupModel::ChooseResult::Done);
    EXPECT_EQ(model.selectedEntry()->path, paint);
    EXPECT_TRUE(model.selectedEntry()->label.isEmpty());

    model.select(0, QStringLiteral("Paint it")); // the label typed for entry 1 is kept
    EXPECT_EQ(model.entries()[1].label, QStringLiteral("Paint it"));
    model.remove();
    EXPECT_EQ(model.selected(), 0); // the entry now at the same position
    EXPECT_EQ(model.selectedEntry()->path, paint);

    const QList<LauncherEntry> accepted = model.accept(QString());
    ASSERT_EQ(accepted.size(), 1);
    EXPECT_EQ(accepted[0].label, QStringLiteral("paint")); // an empty label takes the file name
    EXPECT_EQ(accepted[0].rect, launcherButtonRect(0));

    model.remove();
    EXPECT_FALSE(model.hasSelection());
    EXPECT_TRUE(model.accept(QStringLiteral("ignored")).isEmpty());
}

TEST_F(SetupFixture, BarStartsTheProgramUnderTheCursorAtRelease)
{
    RecordingStarter starter;
    LauncherBar bar;
    bar.resize(400, 65);
    bar.setPrograms(programs);
    bar.show();
    const QPoint first = launcherButtonRect(0).toRect().center();
    const QPoint second = launcherButtonRect(1).toRect().center();
    QTest::mousePress(&bar, Qt::LeftButton, {}, first);
    EXPECT_EQ(bar.state().look(0), ButtonLook::Pressed);
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, second);
    EXPECT_EQ(starter.programs(), QStringList { view });
    EXPECT_EQ(bar.state().look(0), ButtonLook::Normal);

    EXPECT_TRUE(bar.dropFile(first, QStringLiteral("/photos/a b.jpg")));
    EXPECT_FALSE(bar.dropFile(QPoint(5, 5), QStringLiteral("/photos/a b.jpg")));
    EXPECT_EQ(starter.programs(), (QStringList { view, edit }));
}

TEST_F(SetupFixture, SetupDialogRefusesADuplicateAndOkReplacesThePrograms)
{
    LauncherBar bar;
    bar.setPrograms(programs);
    QSignalSpy changed(&bar, &LauncherBar::programsChanged);
    QStringList choices = { edit, paint };
    bar.setProgramChooser([&choices] { return choices.takeFirst(); });
    // Drive the modal dialog once it is up: Add twice (a duplicate, then a new program), OK.
    QTimer::singleShot(0, [] {
        auto *dialog = qobject_cast<LauncherSetupDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto *add = dialog->findChild<QPushButton *>(QStringLiteral("1145"));
        add->click();
        add->click();
        dialog->findChild<QLineEdit *>(QStringLiteral("1024"))->setText(QStringLiteral("Paint"));
        dialog->accept();
    });
    ASSERT_TRUE(bar.runSetup(1));
    EXPECT_EQ(host.messageIds(), QList<int> { Message::kAlreadyListed });
    ASSERT_EQ(bar.programs().size(), 3);
    EXPECT_EQ(bar.programs()[2].path, paint);
    EXPECT_EQ(bar.programs()[2].label, QStringLiteral("Paint"));
    EXPECT_EQ(bar.programs()[2].rect, launcherButtonRect(2));
    ASSERT_EQ(changed.size(), 1);
}

TEST_F(SetupFixture, CancelledSetupLeavesTheProgramsAlone)
{
    LauncherBar bar;
    bar.setPrograms(programs);
    QTimer::singleShot(0, [] {
        auto *dialog = qobject_cast<LauncherSetupDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QPushButton *>(QStringLiteral("1148"))->click();
        dialog->reject();
    });
    EXPECT_FALSE(bar.runSetup());
    EXPECT_EQ(bar.programs().size(), 2);
}

TEST_F(SetupFixture, ADeletedProgramLeavesTheBarAndTheSettingsAtTheNextExit)
{
    const QString root = makeTestFolder(QStringLiteral("settings"));
    SettingsFiles files;
    files.user = root + QStringLiteral("/user.reg");
    files.machine = root + QStringLiteral("/machine.reg");
    const Folders folders(root + QStringLiteral("/resources"), root + QStringLiteral("/home"));
    const QStringList paths = { edit, paint, view };
    {
        SettingsStore store(files);
        for (int index = 0; index < int(paths.size()); ++index) {
            const QString key = productKeyPath() + QStringLiteral("\\App%1").arg(index + 1);
            store.writeString(SettingsRoot::User, key, QStringLiteral("AppPathName"), paths[index]);
            store.writeString(SettingsRoot::User, key, QStringLiteral("AppLabel"),
                QStringLiteral("Label %1").arg(index + 1));
        }
    }
    QFile::remove(paint);
    {
        SettingsStore store(files);
        AppSettings settings(store, folders);
        settings.load();
        LauncherBar bar;
        bar.useSettings(settings);
        ASSERT_EQ(bar.programs().size(), 2);
        EXPECT_EQ(bar.programs()[1].path, view);
        EXPECT_EQ(bar.programs()[1].rect, launcherButtonRect(1)); // closed up behind the gap

        // Removing the viewer in the set-up dialog replaces the application's list on OK.
        QTimer::singleShot(0, [] {
            auto *dialog = qobject_cast<LauncherSetupDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->model().selected(), 1);
            dialog->findChild<QPushButton *>(QStringLiteral("1148"))->click();
            dialog->accept();
        });
        ASSERT_TRUE(bar.runSetup(1));
        EXPECT_EQ(
            settings.externalApps(), (QList<ExternalApp> { { edit, QStringLiteral("Label 1") } }));
        ASSERT_TRUE(settings.saveOnExit());
    }
    SettingsStore store(files);
    EXPECT_EQ(store.subkeyNames(SettingsRoot::User, productKeyPath()).filter(QStringLiteral("App")),
        QStringList { QStringLiteral("App1") });
    AppSettings settings(store, folders);
    settings.load();
    EXPECT_EQ(
        settings.externalApps(), (QList<ExternalApp> { { edit, QStringLiteral("Label 1") } }));
}
