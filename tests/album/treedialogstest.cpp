#include "album/ui/relinkdialog.h"
#include "album/ui/treeimportdialog.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFile>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace glimmerix;

// The summary lets only files that are there be ticked, and gives back exactly the ticked ones.
TEST(TreeImportDialog, TicksOnlyFilesThatAreThere)
{
    const QString folder = makeTestFolder(QStringLiteral("photos"));
    for (const char *name : { "/2019/beach copy.jpg", "/2019/damaged.jpg" }) {
        QFile file(folder + QLatin1String(name));
        QDir().mkpath(folder + "/2019");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    TreeImportOutcome outcome;
    outcome.files.added = 1840;
    outcome.files.duplicates = 12;
    outcome.files.failed = 2;
    outcome.files.skipped = { { folder + "/2019/damaged.jpg", "the picture cannot be read" },
        { folder + "/2019/loop", "a link to a folder already read: not followed" } };
    outcome.sameContent = { { folder + "/2019/beach copy.jpg", folder + "/2018/beach.jpg" } };
    TreeImportDialog dialog(outcome);
    QTreeWidget *list = dialog.list();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    QTreeWidgetItem *same = list->topLevelItem(0)->child(0);
    QTreeWidgetItem *damaged = list->topLevelItem(1)->child(0);
    QTreeWidgetItem *loop = list->topLevelItem(1)->child(1);
    EXPECT_FALSE(loop->flags() & Qt::ItemIsUserCheckable);
    EXPECT_TRUE(dialog.tickedPaths().isEmpty());
    same->setCheckState(0, Qt::Checked);
    damaged->setCheckState(0, Qt::Checked);
    EXPECT_EQ(dialog.tickedPaths(),
        (QStringList { folder + "/2019/beach copy.jpg", folder + "/2019/damaged.jpg" }));
    damaged->setCheckState(0, Qt::Unchecked);
    saveScreenshotWhenAsked(dialog, QStringLiteral("import-summary.png"));
}

// Proposals come ticked and can be unticked; ambiguous and not-found items cannot be ticked.
TEST(RelinkDialog, ProposalsTickedAmbiguousNever)
{
    RelinkPlan plan;
    plan.entries = { { 0, "/media/old/2019/beach.jpg", { "/media/photos/2019/beach.jpg" } },
        { 1, "/media/old/2019/dunes.jpg", { "/media/photos/2019/dunes.jpg" } },
        { 2, "/media/old/2020/IMG_0001.jpg",
            { "/media/photos/2020/IMG_0001.jpg", "/media/photos/spare/IMG_0001.jpg" } },
        { 3, "/media/old/2020/party.jpg", {} } };
    RelinkDialog dialog(plan);
    QTreeWidget *list = dialog.list();
    ASSERT_EQ(list->topLevelItemCount(), 4);
    EXPECT_EQ(dialog.tickedEntries().size(), 2);
    list->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
    const QList<RelinkEntry> ticked = dialog.tickedEntries();
    ASSERT_EQ(ticked.size(), 1);
    EXPECT_EQ(ticked.first().index, 0);
    EXPECT_FALSE(list->topLevelItem(2)->flags() & Qt::ItemIsUserCheckable);
    EXPECT_EQ(list->topLevelItem(2)->childCount(), 2);
    EXPECT_FALSE(list->topLevelItem(3)->flags() & Qt::ItemIsUserCheckable);
    saveScreenshotWhenAsked(dialog, QStringLiteral("relink-list.png"));
}
