#include "albumtesthelpers.h"

#include "album/relink.h"
#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <QUndoStack>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

QString jpeg(const QString &path, int width)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(width, 16, QImage::Format_RGB32);
    image.fill(qRgb(width, 100, 50));
    EXPECT_TRUE(image.save(path, "JPEG"));
    return path;
}

void copyTo(const QString &from, const QString &to, const QDateTime &time)
{
    QDir().mkpath(QFileInfo(to).absolutePath());
    ASSERT_TRUE(QFile::copy(from, to));
    QFile file(to);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(time, QFileDevice::FileModificationTime));
}

} // namespace

// One row per item of an album whose files were moved about: where copies of the file went
// (relative to the searched tree, the item's own time kept or not), and what the plan must say.
TEST(Relink, MovedAmbiguousAndNotFound)
{
    enum class Copy { KeepTime, OtherTime, OtherSize };
    struct Row {
        const char *name;
        QList<QPair<QString, Copy>> copies;
        QStringList expected; // candidates, relative to the tree
        bool stays = false; // the file is still where the album has it
        int width = 0; // of the picture; 0: one of its own, so that sizes differ
    };
    const QList<Row> rows = {
        { "moved.jpg", { { "2019/moved.jpg", Copy::OtherTime } }, { "2019/moved.jpg" } },
        { "twice.jpg", { { "a/twice.jpg", Copy::OtherTime }, { "b/twice.jpg", Copy::OtherTime } },
            { "a/twice.jpg", "b/twice.jpg" } },
        { "timed.jpg", { { "a/timed.jpg", Copy::OtherTime }, { "b/timed.jpg", Copy::KeepTime } },
            { "b/timed.jpg" } },
        { "renamed.jpg", { { "renamed-2.jpg", Copy::KeepTime } }, {} },
        { "edited.jpg", { { "edited.jpg", Copy::OtherSize } }, {} },
        { "gone.jpg", {}, {} },
        { "here.jpg", {}, {}, true },
        // Two items of the same name and size in two folders, one file found: chosen for neither.
        { "x/same.jpg", { { "c/same.jpg", Copy::KeepTime } }, { "c/same.jpg" }, false, 90 },
        { "y/same.jpg", {}, { "c/same.jpg" }, false, 90 },
    };
    RecordingHost host;
    const QString old = makeTestFolder(QStringLiteral("old"));
    const QString tree = makeTestFolder(QStringLiteral("new"));
    const QDateTime otherTime = QDateTime::currentDateTimeUtc().addDays(-3);
    CAlbumDoc document;
    QList<QByteArray> thumbnails;
    for (int i = 0; i < rows.size(); ++i) {
        const QString path = jpeg(
            old + u'/' + QLatin1String(rows[i].name), rows[i].width ? rows[i].width : 20 + 4 * i);
        ASSERT_EQ(document.addFile(path), 1);
        document.setItemText(i, ItemField::Caption, QStringLiteral("caption %1").arg(i));
        const QByteArray bitmap = document.item(i)->thumbnailBitmap();
        thumbnails << QByteArray(bitmap.constData(), bitmap.size()); // a copy: the block goes
        const QDateTime ownTime = QFileInfo(path).lastModified();
        for (const auto &[target, copy] : rows[i].copies) {
            copyTo(path, tree + u'/' + target, copy == Copy::KeepTime ? ownTime : otherTime);
            if (copy == Copy::OtherSize) {
                QFile grown(tree + u'/' + target);
                ASSERT_TRUE(grown.open(QIODevice::Append));
                grown.write("x");
            }
        }
        if (!rows[i].stays) {
            ASSERT_TRUE(QFile::remove(path));
        }
    }

    const RelinkPlan plan = findMovedFiles(document, tree);
    ASSERT_EQ(plan.entries.size(), rows.size() - 1);
    for (int i = 0; i < plan.entries.size(); ++i) {
        const int row = i < 6 ? i : i + 1; // here.jpg is not missing
        SCOPED_TRACE(rows[row].name);
        EXPECT_EQ(plan.entries[i].index, row);
        QStringList candidates;
        for (const QString &candidate : plan.entries[i].candidates)
            candidates << QDir(tree).relativeFilePath(candidate);
        EXPECT_EQ(candidates, rows[row].expected);
    }
    EXPECT_EQ(plan.proposed(), 2);
    EXPECT_EQ(plan.ambiguous(), 3);
    EXPECT_EQ(plan.notFound(), 3);
    EXPECT_EQ(plan.lines()[1],
        QStringLiteral("%1/twice.jpg: ambiguous: %2/a/twice.jpg | %2/b/twice.jpg").arg(old, tree));
    EXPECT_EQ(plan.lines()[7],
        QStringLiteral("%1/y/same.jpg: ambiguous: %2/c/same.jpg fits another item too")
            .arg(old, tree));

    // Relinking changes only the paths of the proposed items: thumbnails, texts and every
    // other item stay as they were, nothing is read from the files. The window's relink is one
    // undo step, and undo puts the old paths back.
    EXPECT_EQ(applyRelinkAsStep(document, plan.entries, QStringLiteral("Find Missing Files")), 2);
    ASSERT_EQ(document.undoStack().count(), 1);
    document.undoStack().undo();
    for (int i = 0; i < rows.size(); ++i)
        EXPECT_EQ(document.item(i)->absolutePath(), old + u'/' + QLatin1String(rows[i].name));
    document.undoStack().redo();
    EXPECT_TRUE(document.isModified());
    for (int i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(rows[i].name);
        const AlbumItem *item = document.item(i);
        const QString expected = rows[i].expected.size() == 1 && !rows[i].width
            ? tree + u'/' + rows[i].expected.first()
            : old + u'/' + QLatin1String(rows[i].name);
        EXPECT_EQ(item->absolutePath(), expected);
        EXPECT_EQ(fixedText(item->info()->path), expected);
        EXPECT_EQ(fixedText(item->info()->caption), QStringLiteral("caption %1").arg(i));
        EXPECT_EQ(item->thumbnailBitmap(), thumbnails[i]);
    }
    EXPECT_TRUE(host.messageIds().isEmpty());
}
