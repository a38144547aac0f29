// The picture window driven with real mouse and toolbar events, and its zoom steps.

#include "picture/ui/picturewindow.h"
#include "album/albumdoc.h"
#include "album/albumitem.h"
#include "album/dibimage.h"
#include "core/commandids.h"
#include "core/messageids.h"
#include "imaging/blockcopy.h"
#include "imaging/dibblock.h"
#include "imaging/imagefile.h"
#include "imaging/mediafile.h"
#include "imaging/mediareader.h"
#include "imaging/mediawriter.h"
#include "imaging/picturefacts.h"
#include "imaging/upright.h"
#include "picture/dibview.h"
#include "picture/picturezoom.h"
#include "picture/ui/picturecanvas.h"
#include "support/dibcompare.h"
#include "support/processrun.h"
#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QScrollArea>
#include <QSlider>
#include <QStandardPaths>
#include <QTest>
#include <QToolBar>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

using namespace glimmerix;

namespace
{

// A w x h 24-bit picture with a left-to-right ramp, so crops and turns are visible in the pixels.
BlockHandle rampPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 255 / std::max(1, width - 1), y % 256, 90));
    const BlockHandle block = imageToDibBlock(image);
    dibHeader(block)->biXPelsPerMeter = dibHeader(block)->biYPelsPerMeter = 3780;
    return block;
}

QSize pictureSize(BlockHandle block)
{
    const BITMAPINFOHEADER *header = checkedDibHeader(block);
    return header ? QSize(header->biWidth, header->biHeight) : QSize();
}

void press(PictureWindow &window, int command)
{
    QAction *action = window.commandAction(command);
    ASSERT_TRUE(action);
    ASSERT_TRUE(action->isEnabled());
    action->trigger();
}

struct OpenWindow {
    QPointer<PictureWindow> window;
    PictureCanvas *canvas = nullptr;
    QSlider *slider = nullptr;
    QLabel *value = nullptr;
};

OpenWindow openWindow(BlockHandle picture, const QString &path)
{
    OpenWindow open;
    open.window = new PictureWindow(picture, path);
    open.window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(open.window));
    open.canvas = open.window->findChild<PictureCanvas *>();
    open.slider = open.window->findChild<QSlider *>(QStringLiteral("adjustSlider"));
    open.value = open.window->findChild<QLabel *>(QStringLiteral("sliderValue"));
    return open;
}

TEST(PictureZoom, StepsAndShownSizes)
{
    EXPECT_EQ(zoomedSize(QSize(640, 480), -1), QSize(320, 240));
    EXPECT_EQ(zoomedSize(QSize(640, 480), 2), QSize(1920, 1440));
    EXPECT_EQ(zoomedSize(QSize(640, 480), -16), QSize(37, 28));
    int zoom = 0;
    for (int i = 0; i < 17; ++i)
        zoom = steppedZoom(zoom, 1);
    EXPECT_EQ(zoom, 16); // the seventeenth step does nothing
    EXPECT_EQ(steppedZoom(-16, -1), -16);
    EXPECT_EQ(fittingZoom(QSize(640, 480), QSize(700, 500)), 0);
    EXPECT_EQ(fittingZoom(QSize(640, 480), QSize(400, 300)), -1);
    EXPECT_EQ(fittingZoom(QSize(3000, 2000), QSize(700, 500)), -4);
}

// The slider previews without touching the working picture; another tool commits the preview,
// and Undo brings the picture before it back byte for byte.
TEST(PictureWindowFlow, SliderPreviewsToolChangeCommitsUndoRestores)
{
    RecordingHost host;
    OwnedBlock original(rampPicture(40, 30));
    OpenWindow open = openWindow(copyImageBlock(original.handle()), "/photos/ramp.bmp");
    PictureWindow &window = *open.window;
    QTRY_VERIFY(!open.slider->isVisible());
    EXPECT_FALSE(window.commandAction(Command::kPictureUndo)->isEnabled());

    press(window, Command::kPictureBrightness);
    QTRY_VERIFY(open.slider->isVisible());
    EXPECT_EQ(open.slider->value(), 128);
    EXPECT_EQ(open.value->text(), "0");
    EXPECT_FALSE(window.editor().changed());
    QTest::keyClick(open.slider, Qt::Key_PageUp); // page step 10
    EXPECT_EQ(open.value->text(), "7"); // (138 - 128) x 0.78125
    ASSERT_NE(window.editor().preview(), 0);
    EXPECT_TRUE(sameDibBytes(window.editor().working(), original.handle()));
    EXPECT_TRUE(window.editor().changed());
    EXPECT_TRUE(window.commandAction(Command::kPictureUndo)->isEnabled());

    press(window, Command::kPictureContrast); // commits the brighter picture
    EXPECT_EQ(window.editor().preview(), 0);
    EXPECT_FALSE(sameDibBytes(window.editor().working(), original.handle()));
    EXPECT_EQ(open.value->text(), "0");
    press(window, Command::kPictureUndo);
    EXPECT_TRUE(sameDibBytes(window.editor().working(), original.handle()));
    EXPECT_FALSE(window.commandAction(Command::kPictureUndo)->isEnabled());

    press(window, Command::kPictureSelect);
    QTRY_VERIFY(!open.slider->isVisible());
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    host.queueAnswer(MessageAnswer::No); // closes without saving
    window.close();
    delete open.window;
}

// Sharpness needs a 24-bit picture: message 50322 and the previous tool stays checked.
TEST(PictureWindowFlow, SharpnessOnAPalettePictureIsRefused)
{
    RecordingHost host;
    const DecodeResult grey = createImageBlock(8, 8, 8, 256);
    for (int i = 0; i < 256; ++i)
        dibColors(dibHeader(grey.block))[i]
            = { std::uint8_t(i), std::uint8_t(i), std::uint8_t(i), 0 };
    OpenWindow open = openWindow(grey.block, QString());
    press(*open.window, Command::kPictureContrast);
    press(*open.window, Command::kPictureSharpness);
    EXPECT_EQ(host.messageIds(), QList<int> { Message::kSharpnessNeedsTrueColor });
    EXPECT_EQ(open.window->editor().tool(), Command::kPictureContrast);
    EXPECT_TRUE(open.window->commandAction(Command::kPictureContrast)->isChecked());
    open.window->close();
}

// A drag selects, a right click crops; a drag with the rotate tool turns the picture. Both keep
// the resolution.
TEST(PictureWindowFlow, MouseCropsAndRotates)
{
    RecordingHost host;
    OpenWindow open = openWindow(rampPicture(40, 30), "/photos/ramp.bmp");
    PictureWindow &window = *open.window;
    window.setZoom(1); // every pixel shows as 2 x 2
    PictureCanvas *canvas = open.canvas;
    ASSERT_EQ(canvas->size(), QSize(80, 60));
    QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(11, 9)); // inside pixel (5, 4)
    QTest::mouseMove(canvas, QPoint(30, 20));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(30, 28));
    EXPECT_EQ(canvas->selection(), QRect(5, 4, 10, 10));
    EXPECT_TRUE(window.commandAction(Command::kPictureCentreSelection)->isEnabled());
    QTest::mouseClick(canvas, Qt::RightButton, {}, QPoint(20, 20));
    EXPECT_EQ(pictureSize(window.editor().working()), QSize(10, 10));
    EXPECT_TRUE(canvas->selection().isEmpty());
    EXPECT_EQ(dibHeader(window.editor().working())->biXPelsPerMeter, 3780);

    press(window, Command::kPictureRotate);
    EXPECT_FALSE(window.commandAction(Command::kPictureZoomIn)->isEnabled());
    // From the right of the centre to below it: a quarter turn clockwise.
    const QPoint centre(canvas->width() / 2, canvas->height() / 2);
    QTest::mousePress(canvas, Qt::LeftButton, {}, centre + QPoint(8, 0));
    QTest::mouseMove(canvas, centre + QPoint(6, 6));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, centre + QPoint(0, 8));
    ASSERT_NE(window.editor().preview(), 0);
    EXPECT_EQ(pictureSize(window.editor().preview()), QSize(10, 10));
    press(window, Command::kPictureSelect);
    EXPECT_EQ(window.editor().preview(), 0);
    EXPECT_EQ(dibHeader(window.editor().working())->biYPelsPerMeter, 3780);
    host.queueSaveFileName(QString());
    window.close();
}

// Closing with changes asks where to save (the picture's path, its type), saves through the
// image file layer and renews the album item's thumbnail; a failed save keeps the window open.
TEST(PictureWindowFlow, ClosingWithChangesSavesAndRenewsTheThumbnail)
{
    RecordingHost host;
    const QString folder = makeTestFolder(QStringLiteral("picture"));
    const QString path = folder + "/ramp.bmp";
    OwnedBlock original(rampPicture(40, 30));
    ASSERT_EQ(SaveImageFile(original.handle(), path), 1);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    CAlbumDoc document;
    ASSERT_EQ(document.addFile(path), 1);
    document.markClean();
    const QByteArray oldThumbnail(
        static_cast<const char *>(blockLock(document.item(0)->thumbnail())),
        int(blockSize(document.item(0)->thumbnail())));

    OpenWindow open = openWindow(LoadImageFile(path), path);
    open.window->setAlbumItem(&document, 0);
    EXPECT_TRUE(open.window->commandAction(Command::kPicturePlaySound)->isVisible());
    EXPECT_FALSE(open.window->commandAction(Command::kPicturePlaySound)->isEnabled());
    press(*open.window, Command::kPictureSaturation);
    open.slider->setValue(0); // every colour grey

    // First a folder that does not exist: the message names the path, nothing is written.
    host.queueSaveFileName(folder + "/missing/ramp.bmp");
    open.window->close();
    ASSERT_FALSE(open.window.isNull());
    EXPECT_TRUE(host.messageIds().contains(Message::kPictureNotSaved));
    EXPECT_EQ(host.saveQuestions().first().proposedPath, path);
    EXPECT_EQ(host.saveQuestions().first().filter, "bmp (*.bmp)");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
    file.close();

    host.queueSaveFileName(path);
    open.window->close();
    QTRY_VERIFY(open.window.isNull());
    OwnedBlock saved(LoadImageFile(path));
    const QImage shown = imageFromDibBlock(saved.handle());
    EXPECT_EQ(shown.pixel(0, 0), qRgb(90, 90, 90)); // (0, 0, 90) turned to the grey of its largest
    const QByteArray newThumbnail(
        static_cast<const char *>(blockLock(document.item(0)->thumbnail())),
        int(blockSize(document.item(0)->thumbnail())));
    EXPECT_NE(newThumbnail, oldThumbnail);
    EXPECT_TRUE(document.isModified());
}

// Closing a changed picture: Cancel anywhere goes back to the window with the changes as they
// were; No closes without saving; a name typed without its extension asks about the file that
// would really be written.
TEST(PictureWindowFlow, ClosingAsksAndCancelKeepsTheChanges)
{
    const QString folder = makeTestFolder(QStringLiteral("closing"));
    const QString path = folder + "/ramp.bmp";
    OwnedBlock original(rampPicture(40, 30));
    ASSERT_EQ(SaveImageFile(original.handle(), path), 1);
    const QString other = folder + "/other.bmp";
    writeFile(other, "an older file of that name");
    struct Row {
        const char *name;
        QList<MessageAnswer> answers;
        QStringList saveNames;
        bool closes;
        QString written; // the file the picture is saved to, if any
    };
    const Row rows[] = {
        { "Cancel in the question", { MessageAnswer::Cancel }, {}, false, {} },
        { "Cancel in the file question", { MessageAnswer::Yes }, { QString() }, false, {} },
        { "No", { MessageAnswer::No }, {}, true, {} },
        { "name without extension, keep the file", { MessageAnswer::Yes, MessageAnswer::No },
            { folder + "/other" }, false, {} },
        { "name without extension, replace the file", { MessageAnswer::Yes, MessageAnswer::Yes },
            { folder + "/other" }, true, other },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        RecordingHost host;
        for (const MessageAnswer answer : row.answers)
            host.queueAnswer(answer);
        for (const QString &name : row.saveNames)
            host.queueSaveFileName(name);
        OpenWindow open = openWindow(LoadImageFile(path), path);
        open.window->setAttribute(Qt::WA_DeleteOnClose, false);
        press(*open.window, Command::kPictureBrightness);
        QTest::keyClick(open.slider, Qt::Key_PageUp);
        ASSERT_NE(open.window->editor().preview(), 0);
        OwnedBlock shown(copyImageBlock(open.window->editor().shown()));

        EXPECT_EQ(open.window->close(), row.closes);
        EXPECT_EQ(host.messageIds().value(0), Message::kSavePictureChanges);
        EXPECT_EQ(host.shown().value(0).buttons, MessageButtons::YesNoCancel);
        if (row.saveNames.size() && !row.saveNames.first().isEmpty()) {
            EXPECT_EQ(host.messageIds().value(1), Message::kReplaceQuestion);
            EXPECT_TRUE(host.shown().value(1).text.contains(other));
        }
        if (!row.closes) {
            // Back in the window: the adjustment still shows and can go on or be undone.
            EXPECT_TRUE(open.window->isVisible());
            EXPECT_TRUE(open.window->editor().changed());
            ASSERT_NE(open.window->editor().preview(), 0);
            EXPECT_TRUE(sameDibBytes(open.window->editor().shown(), shown.handle()));
            QTRY_VERIFY(open.slider->isVisible());
        }
        if (row.written.isEmpty()) {
            EXPECT_EQ(fileBytes(other), "an older file of that name");
        } else {
            OwnedBlock saved(LoadImageFile(row.written));
            EXPECT_TRUE(sameDibBytes(saved.handle(), shown.handle()));
        }
        OwnedBlock unchanged(LoadImageFile(path));
        EXPECT_TRUE(sameDibBytes(unchanged.handle(), original.handle()));
        delete open.window;
    }
}

// An album of four pictures, the third of them gone from the disk, shown from its first item in
// a picture window that asks for items as the main window answers: by showing their pictures.
struct SteppingAlbum {
    CAlbumDoc document;
    OpenWindow open;
    QStringList paths;

    SteppingAlbum()
    {
        const QString folder = makeTestFolder(QStringLiteral("stepping"));
        const QSize sizes[] = { { 40, 30 }, { 1600, 1200 }, { 50, 40 }, { 60, 20 } };
        for (int i = 0; i < 4; ++i) {
            const QString path = folder + QStringLiteral("/p%1.bmp").arg(i);
            OwnedBlock picture(rampPicture(sizes[i].width(), sizes[i].height()));
            EXPECT_EQ(SaveImageFile(picture.handle(), path), 1);
            EXPECT_EQ(document.addFile(path), 1);
            paths.append(path);
        }
        QFile::remove(paths[2]);
        document.item(2)->setExists(false);
        open = openWindow(LoadImageFile(paths[0]), paths[0]);
        open.window->setAlbumItem(&document, 0);
        QObject::connect(
            open.window, &PictureWindow::itemRequested, open.window, [this](int index) {
                open.window->showItemPicture(LoadImageFile(paths[index]), paths[index], index);
            });
    }
    ~SteppingAlbum() { delete open.window; }
};

// Each key of the picture window in turn: the item shown, full screen or not, and the zoom
// (kFits: the step at which the picture fits the window).
TEST(PictureWindowKeys, KeysStepThroughTheAlbumZoomAndShowFullScreen)
{
    RecordingHost host;
    SteppingAlbum album;
    PictureWindow &window = *album.open.window;
    constexpr int kFits = 100;
    struct Row {
        const char *name;
        QKeyCombination key;
        int item;
        bool fullScreen;
        int zoom;
    };
    const Row rows[] = {
        { "Page Down: the large one, fitted", QKeyCombination(Qt::Key_PageDown), 1, false, kFits },
        { "1 shows it pixel for pixel", QKeyCombination(Qt::Key_1), 1, false, 0 },
        { "Space steps over the missing file", QKeyCombination(Qt::Key_Space), 3, false, 0 },
        { "Space on the last stays", QKeyCombination(Qt::Key_Space), 3, false, 0 },
        { "Backspace", QKeyCombination(Qt::Key_Backspace), 1, false, kFits },
        { "Page Up", QKeyCombination(Qt::Key_PageUp), 0, false, 0 },
        { "End", QKeyCombination(Qt::Key_End), 3, false, 0 },
        { "Home", QKeyCombination(Qt::Key_Home), 0, false, 0 },
        { "F11 shows full screen", QKeyCombination(Qt::Key_F11), 0, true, 0 },
        { "Page Down in full screen", QKeyCombination(Qt::Key_PageDown), 1, true, kFits },
        { "Escape leaves full screen", QKeyCombination(Qt::Key_Escape), 1, false, kFits },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        QTest::keyClick(&window, row.key.key(), row.key.keyboardModifiers());
        QTRY_COMPARE(window.isFullScreen(), row.fullScreen);
        EXPECT_EQ(window.itemIndex(), row.item);
        EXPECT_EQ(window.path(), album.paths[row.item]);
        EXPECT_EQ(window.findChild<QToolBar *>()->isVisible(), !row.fullScreen);
        const QSize viewport = window.findChild<QScrollArea *>()->viewport()->size();
        QTRY_COMPARE(window.zoom(),
            row.zoom == kFits ? fittingZoom(album.open.canvas->pictureSize(), viewport) : row.zoom);
    }
    EXPECT_LT(window.zoom(), 0); // the large picture did not fit
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(host.messageIds().isEmpty());
    QTest::keyClick(&window, Qt::Key_Escape);
    QTRY_VERIFY(album.open.window.isNull());
}

// A double click toggles full screen; Ctrl+wheel zooms keeping the point under the cursor; Save
// writes over the picture with no question and the window no longer counts it as changed;
// moving on with changes asks as closing does, and Cancel stays.
TEST(PictureWindowKeys, MouseZoomSaveWhileOpenAndTheQuestionBeforeMoving)
{
    RecordingHost host;
    SteppingAlbum album;
    PictureWindow &window = *album.open.window;
    PictureCanvas &canvas = *album.open.canvas;
    QTest::mouseDClick(&canvas, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTRY_VERIFY(window.isFullScreen());
    QTest::mouseDClick(&canvas, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTRY_VERIFY(!window.isFullScreen());

    QTest::keyClick(&window, Qt::Key_PageDown);
    ASSERT_EQ(window.itemIndex(), 1);
    window.setZoom(0);
    QWidget *viewport = window.findChild<QScrollArea *>()->viewport();
    const QPoint cursor(viewport->width() / 3, viewport->height() / 3);
    const QPoint before = canvas.toPicture(canvas.mapFrom(viewport, cursor));
    QWheelEvent wheel(cursor, viewport->mapToGlobal(cursor), QPoint(), QPoint(0, 120), Qt::NoButton,
        Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &wheel);
    EXPECT_EQ(window.zoom(), 1);
    const QPoint after = canvas.toPicture(canvas.mapFrom(viewport, cursor));
    EXPECT_LE((after - before).manhattanLength(), 1);

    press(window, Command::kPictureBrightness);
    QTest::keyClick(album.open.slider, Qt::Key_PageUp);
    ASSERT_TRUE(window.editor().changed());
    const QByteArray original = fileBytes(album.paths[1]);
    host.queueAnswer(MessageAnswer::Cancel);
    QTest::keyClick(&window, Qt::Key_Space);
    EXPECT_EQ(host.messageIds(), QList<int> { Message::kSavePictureChanges });
    EXPECT_EQ(window.itemIndex(), 1);
    EXPECT_TRUE(window.editor().changed());

    QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(host.saveQuestions().isEmpty());
    EXPECT_NE(fileBytes(album.paths[1]), original);
    EXPECT_FALSE(window.editor().changed());
    QTest::keyClick(&window, Qt::Key_Space);
    EXPECT_EQ(window.itemIndex(), 3);
    EXPECT_EQ(host.messageIds().size(), 1); // nothing left to ask about
}

} // namespace

// A photo stored turned a quarter opens upright; saved over itself after a change, it keeps its
// camera facts, keywords and position, and its orientation becomes 1 to match the pixels.
TEST(PictureWindowFlow, SavingAPhotoKeepsItsMetadataWithOrientationOne)
{
    if (QStandardPaths::findExecutable(QStringLiteral("exiftool")).isEmpty())
        GTEST_SKIP() << "exiftool is needed";
    RecordingHost host;
    const QString folder = makeTestFolder(QStringLiteral("metadata"));
    const QString path = folder + "/photo.jpg";
    OwnedBlock original(rampPicture(60, 30));
    ASSERT_EQ(SaveImageFile(original.handle(), path), 1);
    ASSERT_EQ(runProgram(QStringLiteral("exiftool"),
                  { QStringLiteral("-q"), QStringLiteral("-overwrite_original"),
                      QStringLiteral("-Orientation#=6"), QStringLiteral("-Make=Canon"),
                      QStringLiteral("-XMP-dc:Subject=harbour"), QStringLiteral("-GPSLatitude=10"),
                      QStringLiteral("-GPSLatitudeRef=N"), QStringLiteral("-GPSLongitude=20"),
                      QStringLiteral("-GPSLongitudeRef=E"), path })
                  .status,
        0);

    OpenWindow open = openWindow(uprightPicture(LoadImageFile(path), path), path);
    EXPECT_EQ(dibHeader(open.window->editor().shown())->biWidth, 30);
    press(*open.window, Command::kPictureBrightness);
    QTest::keyClick(open.slider, Qt::Key_PageUp);
    host.queueSaveFileName(path);
    open.window->close();
    QTRY_VERIFY(open.window.isNull());

    const PictureFacts facts = readPictureFacts(path);
    EXPECT_EQ(facts.orientation, 1);
    EXPECT_EQ(facts.make, QStringLiteral("Canon"));
    EXPECT_EQ(facts.keywords, QStringList { QStringLiteral("harbour") });
    ASSERT_TRUE(facts.position);
    EXPECT_NEAR(facts.position->longitude, 20, 1e-6);
    OwnedBlock saved(uprightPicture(LoadImageFile(path), path));
    EXPECT_EQ(dibHeader(saved.handle())->biWidth, 30);
    EXPECT_EQ(dibHeader(saved.handle())->biHeight, 60);
}

// Saving an edited picture of today's types: a HEIC becomes a JPEG beside it (under a free name
// when the JPEG name is taken), a PNG may go over itself as PNG, a ".jpeg" may become a TIFF, and
// the original's own name in another format is refused. The original's bytes stay as they were
// unless it was saved over in its own format.
TEST(PictureWindowFlow, SavingTodaysTypesNeverOverwritesTheOriginalInAnotherFormat)
{
    const QString folder = makeTestFolder(QStringLiteral("todaysave"));
    const QString source = folder + "/source.png";
    OwnedBlock ramp(rampPicture(40, 30));
    ASSERT_EQ(saveMediaPicture(ramp.handle(), source).status, DecodeStatus::Ok);
    writeFile(folder + "/taken.jpg", "a JPEG name already in use");
    struct Row {
        const char *name; // the original, made from source.png by `tool`
        const char *tool;
        QStringList arguments; // %in and %out are the source and the original
        const char *proposed; // the name the save question proposes
        const char *chosen; // empty: the proposal
        MediaFormat saved; // Unknown: the save is refused
    };
    const Row rows[] = {
        { "phone.heic", "heif-enc", { "%in", "-o", "%out" }, "phone.jpg", "", MediaFormat::Jpeg },
        { "taken.heic", "heif-enc", { "%in", "-o", "%out" }, "taken (2).jpg", "",
            MediaFormat::Jpeg },
        { "sticker.webp", "cwebp", { "-quiet", "%in", "-o", "%out" }, "sticker.webp", "sticker.png",
            MediaFormat::Png },
        { "shot.png", "convert", { "%in", "%out" }, "shot.png", "", MediaFormat::Png },
        { "photo.jpeg", "convert", { "%in", "%out" }, "photo.jpeg", "photo.tiff",
            MediaFormat::Tiff },
        { "own.heic", "heif-enc", { "%in", "-o", "%out" }, "own.jpg", "own.heic",
            MediaFormat::Unknown },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        if (QStandardPaths::findExecutable(QString::fromLatin1(row.tool)).isEmpty()) {
            std::printf("skipped: %s needs %s\n", row.name, row.tool);
            continue;
        }
        const QString original = folder + u'/' + QString::fromLatin1(row.name);
        QStringList arguments = row.arguments;
        arguments.replaceInStrings(QStringLiteral("%in"), source);
        arguments.replaceInStrings(QStringLiteral("%out"), original);
        ASSERT_EQ(runProgram(QString::fromLatin1(row.tool), arguments).status, 0);
        const QByteArray before = fileBytes(original);
        const MediaFormat originalFormat = identifyMediaFile(original).format;

        RecordingHost host;
        const QString chosen
            = folder + u'/' + QString::fromLatin1(*row.chosen ? row.chosen : row.proposed);
        host.queueSaveFileName(chosen);
        OpenWindow open = openWindow(
            loadMediaPicture(identifyMediaFile(original), PictureUse::Full).block, original);
        open.window->setAttribute(Qt::WA_DeleteOnClose, false);
        press(*open.window, Command::kPictureBrightness);
        QTest::keyClick(open.slider, Qt::Key_PageUp);
        const bool refused = row.saved == MediaFormat::Unknown;
        EXPECT_EQ(open.window->close(), !refused);
        ASSERT_EQ(host.saveQuestions().size(), 1);
        EXPECT_EQ(host.saveQuestions().first().proposedPath,
            folder + u'/' + QString::fromLatin1(row.proposed));
        EXPECT_TRUE(host.saveQuestions().first().filter.contains(QStringLiteral("*.tif")));
        if (refused) {
            EXPECT_TRUE(host.messageIds().contains(Message::kPictureNotSaved));
        } else {
            const MediaFile saved = identifyMediaFile(chosen);
            EXPECT_EQ(saved.format, row.saved);
            DecodeResult read = loadMediaPicture(saved, PictureUse::Full);
            OwnedBlock picture(read.block);
            ASSERT_EQ(read.status, DecodeStatus::Ok) << read.detail.toStdString();
            EXPECT_EQ(pictureSize(picture.handle()), QSize(40, 30));
        }
        // The original keeps its bytes, unless it was saved over in its own format.
        EXPECT_EQ(identifyMediaFile(original).format, originalFormat);
        if (chosen != original) {
            EXPECT_EQ(fileBytes(original), before);
        }
        EXPECT_EQ(fileBytes(folder + "/taken.jpg"), "a JPEG name already in use");
        delete open.window;
    }
}
