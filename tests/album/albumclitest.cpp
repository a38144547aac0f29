#include "support/processrun.h"
#include "support/testenvironment.h"

#include "album/albumlock.h"
#include "core/folders.h"
#include "platform/paths.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <algorithm>

using namespace glimmerix;

namespace
{

QString cliProgram()
{
    return joinPath(programFolder(), QStringLiteral("glimix-cli"));
}

QStringList albumArgs(const char *sub, const QStringList &rest)
{
    return QStringList { QStringLiteral("album"), QString::fromLatin1(sub) } + rest;
}

// A tenth of a second of 8-bit mono PCM at 8 kHz as a WAVE file.
void saveTinyWave(const QString &path)
{
    const auto le = [](quint32 value, int bytes) {
        QByteArray out;
        for (int i = 0; i < bytes; ++i)
            out += char((value >> (8 * i)) & 0xFF);
        return out;
    };
    const QByteArray data(800, char(0x80));
    const QByteArray format = le(1, 2) + le(1, 2) + le(8000, 4) + le(8000, 4) + le(1, 2) + le(8, 2);
    const QByteArray body = "WAVEfmt " + le(16, 4) + format + "data" + le(800, 4) + data;
    writeFile(path, "RIFF" + le(quint32(body.size()), 4) + body);
}

void savePicture(const QString &path, int width, const char *format)
{
    QImage image(width, 30, QImage::Format_RGB888);
    image.fill(qRgb(0, 100, 0));
    ASSERT_TRUE(image.save(path, format));
}

} // namespace

TEST(AlbumCli, MakesFillsListsAndEditsAnAlbum)
{
    const QString media = makeTestFolder(QStringLiteral("media"));
    for (int i = 0; i < 3; ++i) {
        QImage image(40 + i, 30, QImage::Format_RGB888);
        image.fill(qRgb(0, 0, 50 * i));
        image.save(joinPath(media, QStringLiteral("p%1.bmp").arg(i)), "BMP");
    }
    QFile::copy(
        fixturePath(QStringLiteral("album/clip.avi")), joinPath(media, QStringLiteral("c.avi")));
    QFile(joinPath(media, QStringLiteral("notes.txt"))).open(QIODevice::WriteOnly);
    const QString sounds = makeTestFolder(QStringLiteral("sounds"));
    saveTinyWave(joinPath(sounds, QStringLiteral("memo.wav")));

    ASSERT_EQ(
        runCli({ QStringLiteral("album"), QStringLiteral("new"), QStringLiteral("trip") }).status,
        0);
    EXPECT_NE(
        runCli({ QStringLiteral("album"), QStringLiteral("new"), QStringLiteral("trip") }).status,
        0);
    ProcessRun added = runCli({ QStringLiteral("album"), QStringLiteral("add"),
        QStringLiteral("trip"), media, joinPath(media, QStringLiteral("p1.bmp")) });
    EXPECT_EQ(added.status, 0) << added.err.toStdString();
    EXPECT_TRUE(added.err.contains("p1.bmp is already in the album"));

    EXPECT_EQ(runCli({ QStringLiteral("album"), QStringLiteral("set-text"), QStringLiteral("trip"),
                         QStringLiteral("1"), QStringLiteral("keywords"), QStringLiteral("sea") })
                  .status,
        0);
    EXPECT_EQ(runCli({ QStringLiteral("album"), QStringLiteral("set-caption"),
                         QStringLiteral("trip"), QStringLiteral("Summer") })
                  .status,
        0);
    EXPECT_EQ(runCli({ QStringLiteral("album"), QStringLiteral("attach"), QStringLiteral("trip"),
                         QStringLiteral("0"), joinPath(sounds, QStringLiteral("memo.wav")),
                         QStringLiteral("memo") })
                  .status,
        0);

    const ProcessRun listed = runCli({ QStringLiteral("album"), QStringLiteral("list"),
        QStringLiteral("trip"), QStringLiteral("--json") });
    ASSERT_EQ(listed.status, 0);
    const QJsonObject album = QJsonDocument::fromJson(listed.out.toUtf8()).object();
    EXPECT_EQ(album.value(QStringLiteral("caption")).toString(), QStringLiteral("Summer"));
    const QJsonArray items = album.value(QStringLiteral("items")).toArray();
    ASSERT_EQ(items.size(), 4); // c.avi, p0, p1, p2 in name order; notes.txt is no media file
    const QJsonObject first = items[0].toObject();
    EXPECT_TRUE(first.value(QStringLiteral("path")).toString().endsWith(QStringLiteral("/c.avi")));
    EXPECT_TRUE(first.value(QStringLiteral("isMedia")).toBool());
    EXPECT_EQ(first.value(QStringLiteral("sourceWidth")).toInt(), 96);
    EXPECT_EQ(first.value(QStringLiteral("attachmentName")).toString(), QStringLiteral("memo"));
    const QJsonObject second = items[1].toObject();
    for (const char *key : { "fileSize", "fileTime", "sourceHeight", "sourceBitDepth", "thumbWidth",
             "thumbHeight", "dataSize", "description", "caption", "attachmentPath", "exists" })
        EXPECT_TRUE(second.contains(QLatin1String(key))) << key;
    EXPECT_EQ(second.value(QStringLiteral("keywords")).toString(), QStringLiteral("sea"));
    EXPECT_EQ(second.value(QStringLiteral("thumbWidth")).toInt(), 40);

    const QString bitmap = joinPath(media, QStringLiteral("thumb.bmp"));
    EXPECT_EQ(runCli({ QStringLiteral("album"), QStringLiteral("thumbnail"), QStringLiteral("trip"),
                         QStringLiteral("3"), bitmap })
                  .status,
        0);
    const QImage thumb(bitmap, "BMP");
    EXPECT_EQ(thumb.size(), QSize(42, 30));
    EXPECT_EQ(thumb.pixel(3, 3), qRgb(0, 0, 100));

    EXPECT_EQ(runCli({ QStringLiteral("album"), QStringLiteral("sort"), QStringLiteral("trip"),
                         QStringLiteral("name"), QStringLiteral("--descending") })
                  .status,
        0);
    EXPECT_EQ(runCli({ QStringLiteral("album"), QStringLiteral("remove"), QStringLiteral("trip"),
                         QStringLiteral("0"), QStringLiteral("1") })
                  .status,
        0);
    const ProcessRun facts
        = runCli({ QStringLiteral("album"), QStringLiteral("facts"), QStringLiteral("trip") });
    EXPECT_TRUE(facts.out.contains("items: 2")) << facts.out.toStdString();
    const ProcessRun plain
        = runCli({ QStringLiteral("album"), QStringLiteral("list"), QStringLiteral("trip") });
    EXPECT_TRUE(plain.out.contains("p0.bmp"));
    EXPECT_TRUE(plain.out.contains("c.avi"));
    EXPECT_FALSE(plain.out.contains("p2.bmp"));
    EXPECT_EQ(runCli({ QStringLiteral("album"), QStringLiteral("thumbnail"), QStringLiteral("trip"),
                         QStringLiteral("7"), bitmap })
                  .status,
        1);
}

// ---- data loss

TEST(AlbumCliSafety, AFileThatIsNotAnAlbumIsNeverWrittenOver)
{
    const QString folder = makeTestFolder(QStringLiteral("notalbum"));
    const QString thesis = joinPath(folder, QStringLiteral("thesis.txt"));
    const QString first = joinPath(folder, QStringLiteral("a.jpg"));
    const QString second = joinPath(folder, QStringLiteral("b.jpg"));
    writeFile(thesis, "Chapter one\n");
    savePicture(first, 40, "JPEG");
    savePicture(second, 50, "JPEG");
    const QByteArray photo = fileBytes(first);
    // Two photos swapped by mistake: the first is taken for the album.
    for (const auto &[target, bytes] :
        { std::pair { thesis, QByteArray("Chapter one\n") }, std::pair { first, photo } }) {
        const ProcessRun run = runCli(albumArgs("add", { target, second }));
        EXPECT_NE(run.status, 0);
        EXPECT_TRUE(run.err.contains(target + QStringLiteral(" is not an album")))
            << run.err.toStdString();
        EXPECT_EQ(fileBytes(target), bytes);
    }
}

TEST(AlbumCliSafety, AWriteTheDiskRefusesFailsAndKeepsTheOldFile)
{
    // A file size limit of 1024 bytes stands in for a full disk: the outputs below are larger, so
    // the last buffered part of each is refused when the file is finished. Every such write must
    // fail, name its file and leave the old file (or none) in place; a moved file stays.
    const QString folder = makeTestFolder(QStringLiteral("sizelimit"));
    const QString picture = joinPath(folder, QStringLiteral("p.bmp"));
    savePicture(picture, 40, "BMP");
    const QString album = joinPath(folder, QStringLiteral("l.gmx"));
    ASSERT_EQ(runCli(albumArgs("new", { album })).status, 0);
    ASSERT_EQ(runCli(albumArgs("add", { album, picture })).status, 0);
    const QString kept = joinPath(folder, QStringLiteral("kept.bmp"));
    savePicture(kept, 2, "BMP");
    const QByteArray keptBytes = fileBytes(kept);
    const QByteArray pictureBytes = fileBytes(picture);
    const QString fresh = joinPath(folder, QStringLiteral("new.bmp"));
    const QString thumbnail = joinPath(folder, QStringLiteral("t.bmp"));
    const QString destination = joinPath(folder, QStringLiteral("dest"));
    const QString report = joinPath(folder, QStringLiteral("sheet.pdf"));
    writeFile(report, "the last contact sheet\n");
    const struct {
        QStringList args;
        QString named; // the file the message names
        QString path; // the file that must hold `bytes` afterwards (none when empty)
        QByteArray bytes;
    } cases[] = {
        { { QStringLiteral("convert"), picture, fresh }, fresh, fresh, {} },
        { { QStringLiteral("convert"), picture, kept }, kept, kept, keptBytes },
        { albumArgs("thumbnail", { album, QStringLiteral("0"), thumbnail }), thumbnail, thumbnail,
            {} },
        { albumArgs("copy-files", { album, destination, QStringLiteral("--move") }),
            joinPath(destination, QStringLiteral("p.bmp")), picture, pictureBytes },
        { { QStringLiteral("print"), album, report }, report, report, "the last contact sheet\n" },
    };
    for (const auto &entry : cases) {
        const ProcessRun run = runProgram(QStringLiteral("bash"),
            QStringList { QStringLiteral("-c"),
                QStringLiteral("trap '' XFSZ; ulimit -f 1; exec \"$0\" \"$@\""), cliProgram() }
                + entry.args);
        EXPECT_NE(run.status, 0) << entry.args.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains(entry.named)) << run.err.toStdString();
        if (entry.bytes.isNull()) {
            EXPECT_FALSE(QFileInfo::exists(entry.path)) << entry.path.toStdString();
        } else {
            EXPECT_EQ(fileBytes(entry.path), entry.bytes) << entry.path.toStdString();
        }
    }
    EXPECT_FALSE(QFileInfo::exists(joinPath(destination, QStringLiteral("p.bmp"))));
}

TEST(AlbumCliSafety, ParallelWritersLoseNoUpdate)
{
    const QString folder = makeTestFolder(QStringLiteral("parallel"));
    const QString album = joinPath(folder, QStringLiteral("k.gmx"));
    ASSERT_EQ(runCli(albumArgs("new", { album })).status, 0);
    QStringList pictures[2];
    for (int side = 0; side < 2; ++side) {
        for (int i = 0; i < 4; ++i) {
            pictures[side] << joinPath(folder, QStringLiteral("s%1-%2.bmp").arg(side).arg(i));
            savePicture(pictures[side].last(), 20 + i, "BMP");
        }
    }
    // Two adds at once, then every item's caption set by its own process at once, many times.
    // A writer may give up after its bounded wait ("in use"), but one that ends well has its
    // change in the album.
    auto runTogether = [](const QList<QStringList> &runs) {
        std::vector<std::unique_ptr<QProcess>> processes;
        for (const QStringList &args : runs) {
            processes.push_back(std::make_unique<QProcess>());
            processes.back()->start(cliProgram(), args);
        }
        QList<bool> succeeded;
        for (auto &process : processes) {
            process->waitForFinished(60000);
            succeeded << (process->exitCode() == 0);
            if (!succeeded.last()) {
                EXPECT_TRUE(process->readAllStandardError().contains("album is in use"));
            }
        }
        return succeeded;
    };
    auto items = [&] {
        return QJsonDocument::fromJson(
            runCli(albumArgs("list", { album, QStringLiteral("--json") })).out.toUtf8())
            .object()
            .value(QStringLiteral("items"))
            .toArray();
    };
    const QList<bool> added = runTogether({ albumArgs("add", QStringList { album } + pictures[0]),
        albumArgs("add", QStringList { album } + pictures[1]) });
    EXPECT_EQ(items().size(), 4 * added.count(true));
    ASSERT_TRUE(added[0] || added[1]);
    const int count = int(items().size());
    for (int round = 0; round < 3; ++round) {
        QList<QStringList> runs;
        for (int i = 0; i < count; ++i) {
            runs << albumArgs("set-text",
                { album, QString::number(i), QStringLiteral("caption"),
                    QStringLiteral("r%1-%2").arg(round).arg(i) });
        }
        const QList<bool> succeeded = runTogether(runs);
        const QJsonArray after = items();
        ASSERT_EQ(after.size(), count);
        for (int i = 0; i < count; ++i) {
            if (succeeded[i]) {
                EXPECT_EQ(after[i].toObject().value(QStringLiteral("caption")).toString(),
                    QStringLiteral("r%1-%2").arg(round).arg(i));
            }
        }
    }
}

TEST(AlbumCliSafety, AnAlbumAnotherProcessHoldsIsInUse)
{
    const QString album = joinPath(makeTestFolder(QStringLiteral("held")), QStringLiteral("h.gmx"));
    ASSERT_EQ(runCli(albumArgs("new", { album })).status, 0);
    const QByteArray before = fileBytes(album);
    QLockFile window(album + QStringLiteral(".lock"));
    ASSERT_TRUE(window.tryLock(0));
    const ProcessRun run = runCli(albumArgs("set-caption", { album, QStringLiteral("x") }));
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("album is in use")) << run.err.toStdString();
    EXPECT_EQ(fileBytes(album), before);
}

// Commands that only read an album do not wait for a program writing it: they read the album
// last saved. A command that changes the album still waits and then refuses.
TEST(AlbumCliSafety, ReadersDoNotWaitForAWriter)
{
    const QString folder = makeTestFolder(QStringLiteral("reading"));
    const QString album = joinPath(folder, QStringLiteral("r.gmx"));
    const QString picture = joinPath(folder, QStringLiteral("p.bmp"));
    savePicture(picture, 30, "BMP");
    ASSERT_EQ(runCli(albumArgs("new", { album })).status, 0);
    ASSERT_EQ(runCli(albumArgs("add", { album, picture })).status, 0);
    ASSERT_EQ(runCli(albumArgs("set-caption", { album, QStringLiteral("Saved") })).status, 0);
    const QByteArray before = fileBytes(album);
    QLockFile window(album + QStringLiteral(".lock"));
    ASSERT_TRUE(window.tryLock(0));
    const struct {
        QStringList args;
        const char *shows;
    } readers[] = {
        { albumArgs("list", { album }), "# Saved" },
        { albumArgs("facts", { album }), "caption: Saved" },
        { albumArgs("properties", { album }), "items: 1" },
        { albumArgs("thumbnail",
              { album, QStringLiteral("0"), joinPath(folder, QStringLiteral("t.bmp")) }),
            "" },
    };
    for (const auto &reader : readers) {
        QElapsedTimer timer;
        timer.start();
        const ProcessRun run = runCli(reader.args);
        EXPECT_EQ(run.status, 0) << qPrintable(reader.args.join(u' ') + u'\n' + run.err);
        EXPECT_LT(timer.elapsed(), AlbumLock::kDefaultWaitMs) << qPrintable(reader.args.join(u' '));
        EXPECT_TRUE(run.out.contains(QLatin1String(reader.shows))) << qPrintable(run.out);
    }
    QElapsedTimer timer;
    timer.start();
    const ProcessRun writer = runCli(albumArgs("set-caption", { album, QStringLiteral("x") }));
    EXPECT_EQ(writer.status, 1);
    EXPECT_GE(timer.elapsed(), AlbumLock::kDefaultWaitMs - 500);
    EXPECT_TRUE(writer.err.contains("album is in use")) << writer.err.toStdString();
    EXPECT_EQ(fileBytes(album), before);
}

TEST(AlbumCliSafety, ADamagedAlbumIsReportedAndNeverGivesAnInvalidPicture)
{
    const QString folder = makeTestFolder(QStringLiteral("damaged"));
    const QString album = joinPath(folder, QStringLiteral("d.gmx"));
    ASSERT_EQ(runCli(albumArgs("new", { album })).status, 0);
    for (int i = 0; i < 2; ++i) {
        const QString picture = joinPath(folder, QStringLiteral("p%1.bmp").arg(i));
        savePicture(picture, 60, "BMP");
        ASSERT_EQ(runCli(albumArgs("add", { album, picture })).status, 0);
    }
    QByteArray cut = fileBytes(album);
    cut.chop(3000); // into the second thumbnail
    writeFile(album, cut);

    const ProcessRun listed = runCli(albumArgs("list", { album }));
    EXPECT_EQ(listed.status, 1);
    EXPECT_TRUE(listed.err.contains("album damaged, 1 of 2 items recovered"))
        << listed.err.toStdString();
    const QString thumbnail = joinPath(folder, QStringLiteral("t.bmp"));
    EXPECT_EQ(runCli(albumArgs("thumbnail", { album, QStringLiteral("1"), thumbnail })).status, 1);
    EXPECT_FALSE(QFileInfo::exists(thumbnail));
    EXPECT_EQ(runCli(albumArgs("thumbnail", { album, QStringLiteral("0"), thumbnail })).status, 0);

    EXPECT_EQ(runCli(albumArgs("set-caption", { album, QStringLiteral("Kept") })).status, 0);
    EXPECT_EQ(fileBytes(album + QStringLiteral(".damaged")), cut);
}

// ---- limits and wrong results

TEST(AlbumCliLimits, AlbumNewRefusesAMissingFolderAndAnEmptyName)
{
    const QString missing = joinPath(makeTestFolder(QStringLiteral("new")), QStringLiteral("no"));
    const QStringList refused[] = { { joinPath(missing, QStringLiteral("x.gmx")) }, { QString() },
        { QStringLiteral(".gmx") }, { joinPath(missing, QStringLiteral(".gmx")) } };
    for (const QStringList &args : refused) {
        EXPECT_NE(runCli(albumArgs("new", args)).status, 0) << args.first().toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_FALSE(QFileInfo::exists(joinPath(albumsFolder(), QStringLiteral(".gmx"))));
}

TEST(AlbumCliLimits, AddSkipsAndNamesWhatCannotBeRead)
{
    const QString folder = makeTestFolder(QStringLiteral("add"));
    const QString album = joinPath(folder, QStringLiteral("a.gmx"));
    ASSERT_EQ(runCli(albumArgs("new", { album })).status, 0);
    const QString good = joinPath(folder, QStringLiteral("good.bmp"));
    savePicture(good, 40, "BMP");
    writeFile(joinPath(folder, QStringLiteral("empty.jpg")), QByteArray());
    writeFile(joinPath(folder, QStringLiteral("text.jpg")), "not a picture\n");
    QFile::copy(fixturePath(QStringLiteral("imaging/cmyk.jpg")),
        joinPath(folder, QStringLiteral("cmyk.jpg")));
    QDir(folder).mkdir(QStringLiteral("x.jpg"));
    const struct {
        const char *file;
        const char *problem;
    } skipped[] = {
        { "empty.jpg", "the file is empty" },
        { "text.jpg", "skipped" },
        { "cmyk.jpg", "skipped" },
        { "x.jpg", "a folder without media files" },
        { "gone.jpg", "no such file" },
    };
    QStringList args { album, good };
    for (const auto &entry : skipped)
        args << joinPath(folder, QLatin1String(entry.file));
    const ProcessRun run = runCli(albumArgs("add", args));
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.contains("1 added, 5 skipped")) << run.out.toStdString();
    for (const auto &entry : skipped) {
        EXPECT_TRUE(run.err.contains(QLatin1String(entry.file) + QStringLiteral(": "))
            && run.err.contains(QLatin1String(entry.problem)))
            << entry.file << "\n"
            << run.err.toStdString();
    }
    const QJsonArray items = QJsonDocument::fromJson(
        runCli(albumArgs("list", { album, QStringLiteral("--json") })).out.toUtf8())
                                 .object()
                                 .value(QStringLiteral("items"))
                                 .toArray();
    EXPECT_EQ(items.size(), 1);
    // A folder of media names the sub-folder that only looks like a picture.
    const ProcessRun again = runCli(albumArgs("add", { album, folder }));
    EXPECT_EQ(again.status, 1);
    EXPECT_TRUE(again.err.contains("x.jpg: skipped: is a folder")) << again.err.toStdString();
}

TEST(AlbumCliLimits, TextsListingsAndThumbnailsComeOutWhole)
{
    const QString folder = makeTestFolder(QStringLiteral("texts"));
    const QString album = joinPath(folder, QStringLiteral("t.gmx"));
    const QString picture = joinPath(folder, QStringLiteral("p.bmp"));
    savePicture(picture, 40, "BMP");
    ASSERT_EQ(runCli(albumArgs("new", { album })).status, 0);
    ASSERT_EQ(runCli(albumArgs("add", { album, picture })).status, 0);

    for (const char *field : { "description", "caption", "keywords" }) {
        const ProcessRun run = runCli(albumArgs(
            "set-text", { album, QStringLiteral("0"), QLatin1String(field), QString(300, u'd') }));
        EXPECT_EQ(run.status, 0);
        EXPECT_TRUE(run.err.contains("cut to 255 bytes")) << field;
    }
    runCli(albumArgs("set-text",
        { album, QStringLiteral("0"), QStringLiteral("description"),
            QStringLiteral("a\tb\nc\\") }));
    const ProcessRun listed = runCli(albumArgs("list", { album }));
    EXPECT_EQ(listed.out.count('\n'), 2) << listed.out.toStdString();
    EXPECT_TRUE(listed.out.contains("a\\tb\\nc\\\\\n")) << listed.out.toStdString();

    const struct {
        const char *name;
        QByteArray magic;
    } outputs[] = { { "t.jpg", "\xFF\xD8" }, { "t.tif", "II" }, { "t.bmp", "BM" } };
    for (const auto &output : outputs) {
        const QString path = joinPath(folder, QLatin1String(output.name));
        EXPECT_EQ(runCli(albumArgs("thumbnail", { album, QStringLiteral("0"), path })).status, 0);
        EXPECT_TRUE(fileBytes(path).startsWith(output.magic)) << output.name;
    }
    const QString png = joinPath(folder, QStringLiteral("t.png"));
    const ProcessRun refused = runCli(albumArgs("thumbnail", { album, QStringLiteral("0"), png }));
    EXPECT_EQ(refused.status, 1);
    EXPECT_FALSE(QFileInfo::exists(png));
}

// ---- messages

TEST(AlbumCliMessages, EveryFailureNamesTheProgramTheFileAndTheCause)
{
    const QString folder = makeTestFolder(QStringLiteral("messages"));
    // The program as the user ran it: a link under another name.
    const QString renamed = joinPath(folder, QStringLiteral("gx"));
    ASSERT_TRUE(QFile::link(cliProgram(), renamed));
    const QString empty = joinPath(folder, QStringLiteral("zero.jpg"));
    writeFile(empty, QByteArray());
    const QString album = joinPath(folder, QStringLiteral("m.gmx"));
    ASSERT_EQ(runCli(albumArgs("new", { album })).status, 0);
    // Item 0 is there, item 1's file went away after it was added.
    const QString picture = joinPath(folder, QStringLiteral("p.bmp"));
    const QString lost = joinPath(folder, QStringLiteral("lost.bmp"));
    savePicture(picture, 40, "BMP");
    savePicture(lost, 40, "BMP");
    ASSERT_EQ(runCli(albumArgs("add", { album, picture, lost })).status, 0);
    QFile::remove(lost);
    const QString gone = joinPath(folder, QStringLiteral("gone.jpg"));
    const QString bare = joinPath(folder, QStringLiteral("bare.gmx"));
    ASSERT_EQ(runCli(albumArgs("new", { bare })).status, 0);
    const struct {
        QStringList args;
        QByteArray expected;
    } cases[] = {
        { { QStringLiteral("convert"), empty, joinPath(folder, QStringLiteral("o.bmp")) },
            "gx: " + QFile::encodeName(empty) + ": the file is empty" },
        { { QStringLiteral("convert"), folder, joinPath(folder, QStringLiteral("o.bmp")) },
            ": is a folder" },
        { { QStringLiteral("info"), gone }, "gone.jpg: no such file" },
        { { QStringLiteral("send-image"), gone }, "gone.jpg: no such file" },
        { albumArgs("rename", { album, QStringLiteral("a/b") }), "is not a valid album name" },
        { albumArgs("copy", { joinPath(folder, QStringLiteral("none.gmx")), QStringLiteral("c") }),
            "none.gmx: no such album" },
        { albumArgs("list", { folder }), ": is a folder" },
        { albumArgs("thumbnail", { album, QStringLiteral("0"), joinPath(gone, "t.bmp") }),
            "gone.jpg/t.bmp: No such file or directory" },
        { albumArgs("rebuild", { album, QStringLiteral("1") }), "lost.bmp: no such file" },
        { albumArgs("delete", { joinPath(folder, QStringLiteral("none.gmx")) }),
            "none.gmx: no such album" },
        { albumArgs("attach", { album, QStringLiteral("0"), folder }), ": is a folder" },
        { albumArgs("attach", { album, QStringLiteral("0"), picture }), "p.bmp: not a WAVE sound" },
        { albumArgs("set-caption", { bare, QStringLiteral("Lost") }),
            "an album without items keeps no caption" },
        { albumArgs("convert", { album }), "m.gmx: is an album of the current layout" },
        { albumArgs("convert", { gone }), "gone.jpg: no such file" },
    };
    for (const auto &entry : cases) {
        const ProcessRun run = runProgram(renamed, entry.args);
        EXPECT_NE(run.status, 0) << entry.args.join(u' ').toStdString();
        const QStringList lines = run.err.split(u'\n');
        const auto line = std::find_if(lines.cbegin(), lines.cend(),
            [&](const QString &text) { return text.contains(QString::fromUtf8(entry.expected)); });
        ASSERT_NE(line, lines.cend()) << run.err.toStdString();
        EXPECT_TRUE(line->startsWith(QStringLiteral("gx: "))) << line->toStdString();
    }
}

// A tree added with --recursive, then moved: relink prints its plan, --dry-run changes nothing,
// the real run points the items at the moved files, and a folder that is not there fails.
TEST(AlbumCli, AddsATreeAndRelinksItAfterAMove)
{
    const QString root = makeTestFolder(QStringLiteral("tree"));
    for (const char *folder : { "/photos/2019", "/photos/2020", "/photos/.cache" })
        QDir().mkpath(root + QLatin1String(folder));
    savePicture(root + "/photos/2019/a.jpg", 40, "JPEG");
    savePicture(root + "/photos/2020/b.jpg", 50, "JPEG");
    savePicture(root + "/photos/.cache/c.jpg", 60, "JPEG");
    const QString album = root + "/trip.gmx";
    ASSERT_EQ(runCli(albumArgs("new", { album })).status, 0);
    const ProcessRun added = runCli(albumArgs("add", { album, root + "/photos", "--recursive" }));
    EXPECT_EQ(added.status, 0) << added.err.toStdString();
    EXPECT_EQ(added.out,
        "2 added, 0 already in the album, 0 the same picture under another path, 0 unreadable\n");

    ASSERT_TRUE(QDir().rename(root + "/photos", root + "/moved"));
    const QString plan = QStringLiteral("%1/photos/2019/a.jpg -> %1/moved/2019/a.jpg\n"
                                        "%1/photos/2020/b.jpg -> %1/moved/2020/b.jpg\n")
                             .arg(root);
    const QByteArray before = [&] {
        QFile file(album);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    const ProcessRun dry = runCli(albumArgs("relink", { album, root + "/moved", "--dry-run" }));
    EXPECT_EQ(dry.status, 0) << dry.err.toStdString();
    EXPECT_EQ(dry.out, plan + "2 missing: 2 would be relinked, 0 ambiguous, 0 not found\n");
    QFile unchanged(album);
    ASSERT_TRUE(unchanged.open(QIODevice::ReadOnly));
    EXPECT_EQ(unchanged.readAll(), before);

    const ProcessRun relinked = runCli(albumArgs("relink", { album, root + "/moved" }));
    EXPECT_EQ(relinked.status, 0) << relinked.err.toStdString();
    EXPECT_EQ(relinked.out, plan + "2 missing: 2 relinked, 0 ambiguous, 0 not found\n");
    const ProcessRun listed = runCli(albumArgs("list", { album }));
    EXPECT_TRUE(listed.out.contains(root + "/moved/2020/b.jpg")) << listed.out.toStdString();

    const ProcessRun missing = runCli(albumArgs("relink", { album, root + "/nowhere" }));
    EXPECT_NE(missing.status, 0);
    EXPECT_TRUE(missing.err.contains(root + "/nowhere: no such folder"))
        << missing.err.toStdString();
}
