// Products from a folder of today's files, each made on the fly by the outside tool that makes
// such files: `glimix-cli album add FOLDER`, then a web album, a slide show and a contact sheet.
// Every picture goes in as its type's rule says (HEIF, AVIF and camera RAW become JPEG, PNG,
// WebP, GIF and JPEG stay as they are on the web, everything is JPEG in the slide show), every
// link and picture of the pages names a file written, and every picture comes out upright.

#include "headlessbrowser.h"
#include "publishtesthelpers.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace
{

// How a file goes into the web album.
enum class WebRule {
    Jpeg, // converted: NAME.jpg, upright
    AsIs, // the file itself, under its name with the extension upper-cased
    Clip, // copied, linked, thumbnail from its first frame
    Sound, // copied, linked
};

struct Source {
    const char *name;
    // The program and its arguments: IN is a landscape (120x80) or TALL a portrait (80x120)
    // picture written by Qt, OUT the file to make.
    const char *tool;
    QStringList args;
    // A second step on OUT (exiftool setting an orientation), empty when none.
    const char *then = nullptr;
    QStringList thenArgs = {};
    bool portrait = false; // how the picture looks upright
    WebRule web = WebRule::Jpeg;
    bool download = false; // a clip browsers cannot play: its link offers the file
};

const QString kMakeDng = QStringLiteral(GLIMMERIX_SOURCE_DIR "/tools/generators/makedng.py");

const Source kSources[] = {
    { "land.heic", "heif-enc", { "-q", "80", "-o", "OUT", "IN" }, nullptr, {}, false,
        WebRule::Jpeg },
    { "tall.heic", "heif-enc", { "-q", "80", "-o", "OUT", "TALL" }, nullptr, {}, true,
        WebRule::Jpeg },
    { "pic.avif", "heif-enc", { "-A", "-q", "80", "-o", "OUT", "TALL" }, nullptr, {}, true,
        WebRule::Jpeg },
    { "sticker.webp", "cwebp", { "-quiet", "TALL", "-o", "OUT" }, nullptr, {}, true,
        WebRule::AsIs },
    { "screen.png", "convert", { "-size", "120x80", "gradient:green-yellow", "OUT" }, nullptr, {},
        false, WebRule::AsIs },
    { "anim.gif", "convert", { "-size", "80x120", "gradient:orange-purple", "OUT" }, nullptr, {},
        true, WebRule::AsIs },
    // A JPEG known by its content, stored lying on its side with orientation 6 (turn clockwise).
    { "turned.jpeg", "convert", { "-size", "120x80", "gradient:red-blue", "OUT" }, "exiftool",
        { "-q", "-overwrite_original", "-Orientation#=6", "OUT" }, true, WebRule::AsIs },
    // The album's own JPEG type, turned the same way: converted by the web album's convert flag.
    { "portrait.jpg", "convert", { "-size", "120x80", "gradient:red-blue", "OUT" }, "exiftool",
        { "-q", "-overwrite_original", "-Orientation#=6", "OUT" }, true, WebRule::Jpeg },
    { "camera.dng", "/usr/bin/python3",
        { kMakeDng, "OUT", "--size", "120x80", "--preview", "rgb", "--orientation", "6" }, nullptr,
        {}, true, WebRule::Jpeg },
    { "clip.mp4", "ffmpeg",
        { "-loglevel", "error", "-y", "-f", "lavfi", "-i",
            "testsrc=duration=1:size=160x120:rate=10", "-c:v", "libx264", "-pix_fmt", "yuv420p",
            "OUT" },
        nullptr, {}, false, WebRule::Clip },
    { "film.webm", "ffmpeg",
        { "-loglevel", "error", "-y", "-f", "lavfi", "-i",
            "testsrc=duration=1:size=160x120:rate=10", "-c:v", "libvpx", "OUT" },
        nullptr, {}, false, WebRule::Clip },
    { "camcorder.mkv", "ffmpeg",
        { "-loglevel", "error", "-y", "-f", "lavfi", "-i",
            "testsrc=duration=1:size=160x120:rate=10", "-c:v", "mpeg4", "OUT" },
        nullptr, {}, false, WebRule::Clip, true },
    // The album's own clip type: linked as always, whatever its codec.
    { "home.mov", "ffmpeg",
        { "-loglevel", "error", "-y", "-f", "lavfi", "-i",
            "testsrc=duration=1:size=160x120:rate=10", "-c:v", "mpeg4", "OUT" },
        nullptr, {}, false, WebRule::Clip },
    { "sound.flac", "sox", { "-n", "OUT", "synth", "1", "sine", "440" }, nullptr, {}, false,
        WebRule::Sound },
};

QString program(const char *tool)
{
    const QString name = QLatin1String(tool);
    if (name.startsWith(u'/'))
        return QFileInfo(name).isExecutable() ? name : QString();
    return QStandardPaths::findExecutable(name);
}

QStringList filled(
    const QStringList &args, const QString &out, const QString &wide, const QString &tall)
{
    QStringList result;
    for (const QString &arg : args)
        result.append(arg == QLatin1String("OUT") ? out
                : arg == QLatin1String("IN")      ? wide
                : arg == QLatin1String("TALL")    ? tall
                                                  : arg);
    return result;
}

// Makes every source in `folder`; empty when all were made, else what is missing.
QString makeSources(const QString &folder)
{
    const QString inputs = makeTestFolder(QStringLiteral("inputs"));
    const QString wide = inputs + QStringLiteral("/wide.png");
    const QString tall = inputs + QStringLiteral("/tall.png");
    writePicture(wide, 120, 80);
    writePicture(tall, 80, 120);
    for (const Source &source : kSources) {
        const QString out = folder + u'/' + QLatin1String(source.name);
        for (const auto &[tool, args] : { std::pair { source.tool, source.args },
                 std::pair { source.then, source.thenArgs } }) {
            if (tool == nullptr)
                continue;
            const QString path = program(tool);
            if (path.isEmpty())
                return QStringLiteral("%1 is not installed").arg(QLatin1String(tool));
            const ProcessRun run = runProgram(path, filled(args, out, wide, tall));
            if (run.status != 0 || !QFileInfo::exists(out))
                return QStringLiteral("%1 could not make %2: %3")
                    .arg(QLatin1String(tool), QLatin1String(source.name), run.err.trimmed());
        }
    }
    return {};
}

bool isPortrait(QSize size)
{
    return size.height() > size.width();
}

// The size a viewer shows: the EXIF orientation of a JPEG applied.
QSize shownSize(const QString &path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    return image.size();
}

QString jpegName(const char *name)
{
    return QFileInfo(QLatin1String(name)).completeBaseName() + QStringLiteral(".jpg");
}

QString keptName(const char *name)
{
    const QFileInfo info { QLatin1String(name) };
    return info.completeBaseName() + u'.' + info.suffix().toUpper();
}

TEST(ModernProducts, FolderOfTodaysFilesGoesIntoEveryProductUpright)
{
    const QString media = makeTestFolder(QStringLiteral("today"));
    const QString missing = makeSources(media);
    if (!missing.isEmpty())
        GTEST_SKIP() << qPrintable(missing);

    ASSERT_EQ(runCli({ "album", "new", "today" }).status, 0);
    // The folder brings the pictures; the clip and the sound are named as well, in case the
    // folder rule passes over today's clips and sounds.
    QStringList add { "album", "add", "today", media };
    for (const char *name : { "clip.mp4", "film.webm", "camcorder.mkv", "sound.flac" })
        add.append(media + u'/' + QLatin1String(name));
    const ProcessRun added = runCli(add);
    ASSERT_EQ(added.status, 0) << qPrintable(added.err);

    // The web album.
    const QString site = makeTestFolder(QStringLiteral("site")) + QStringLiteral("/web");
    const ProcessRun web = runCli({ "webalbum", "today", site, "--columns", "4", "--rows", "4" });
    ASSERT_EQ(web.status, 0) << qPrintable(web.err);
    const QString page = QString::fromUtf8(fileBytes(site + QStringLiteral("/album1.html")));
    QStringList targets;
    static const QRegularExpression reference(QStringLiteral("(?:HREF|SRC)=\"([^\"]+)\""));
    for (const QRegularExpressionMatch &match : reference.globalMatch(page))
        targets.append(match.captured(1));
    ASSERT_FALSE(targets.isEmpty());
    for (const QString &target : std::as_const(targets))
        EXPECT_TRUE(QFileInfo::exists(site + u'/' + target))
            << "the page names " << qPrintable(target);

    QStringList shown; // the pictures a browser shows, with whether each must be portrait
    QList<bool> portraits;
    for (const Source &source : kSources) {
        SCOPED_TRACE(source.name);
        const QString base = QFileInfo(QLatin1String(source.name)).completeBaseName();
        const QString thumbnail = QStringLiteral("sm_") + base + QStringLiteral(".jpg");
        EXPECT_TRUE(targets.contains(thumbnail));
        const bool picture = source.web == WebRule::Jpeg || source.web == WebRule::AsIs;
        if (picture) {
            EXPECT_EQ(isPortrait(shownSize(site + u'/' + thumbnail)), source.portrait);
            shown << thumbnail;
            portraits << source.portrait;
        }
        const QString sourcePath = media + u'/' + QLatin1String(source.name);
        switch (source.web) {
        case WebRule::Jpeg: {
            const QString full = jpegName(source.name);
            EXPECT_TRUE(targets.contains(full));
            EXPECT_FALSE(QFileInfo::exists(site + u'/' + keptName(source.name)));
            EXPECT_TRUE(fileBytes(site + u'/' + full).startsWith("\xFF\xD8"));
            EXPECT_EQ(isPortrait(shownSize(site + u'/' + full)), source.portrait);
            shown << full;
            portraits << source.portrait;
            break;
        }
        case WebRule::AsIs:
        case WebRule::Clip:
        case WebRule::Sound: {
            const QString kept = keptName(source.name);
            EXPECT_TRUE(targets.contains(kept));
            EXPECT_EQ(
                page.contains(QStringLiteral("HREF=\"%1\" DOWNLOAD>").arg(kept)), source.download);
            EXPECT_TRUE(fileBytes(site + u'/' + kept) == fileBytes(sourcePath))
                << qPrintable(kept) << " is not the file as it is";
            if (source.web == WebRule::AsIs) {
                EXPECT_EQ(isPortrait(shownSize(site + u'/' + kept)), source.portrait);
                shown << kept;
                portraits << source.portrait;
            }
            break;
        }
        }
    }

    // The slide show: one upright JPEG per picture, no clip or sound.
    const QString show = makeTestFolder(QStringLiteral("show")) + QStringLiteral("/show");
    const ProcessRun slides = runCli({ "slideshow", "today", show });
    ASSERT_EQ(slides.status, 0) << qPrintable(slides.err);
    for (const Source &source : kSources) {
        SCOPED_TRACE(source.name);
        const QString jpeg = show + u'/' + QFileInfo(QLatin1String(source.name)).completeBaseName()
            + QStringLiteral(".JPG");
        if (source.web == WebRule::Clip || source.web == WebRule::Sound) {
            EXPECT_FALSE(QFileInfo::exists(jpeg));
            EXPECT_FALSE(QFileInfo::exists(show + u'/' + keptName(source.name)));
            continue;
        }
        ASSERT_TRUE(fileBytes(jpeg).startsWith("\xFF\xD8"));
        // Today's types are turned upright in the pixels; an album .JPG goes in as it is, with
        // its orientation.
        EXPECT_EQ(isPortrait(shownSize(jpeg)), source.portrait);
    }

    // The contact sheet: one picture per item, in the album's order, each upright.
    const QString sheet = makeTestFolder(QStringLiteral("sheet")) + QStringLiteral("/sheet.pdf");
    const ProcessRun printed = runCli({ "print", "today", sheet });
    ASSERT_EQ(printed.status, 0) << qPrintable(printed.err);
    const QString pdfimages = program("pdfimages");
    if (!pdfimages.isEmpty()) {
        const ProcessRun list = runCli({ "album", "list", "today" });
        QStringList order; // the items' file names in the album's order
        for (const QString &line : list.out.split(u'\n', Qt::SkipEmptyParts)) {
            const QStringList fields = line.split(u'\t');
            if (fields.size() >= 4)
                order.append(QFileInfo(fields.at(3)).fileName());
        }
        QList<QSize> images;
        static const QRegularExpression row(
            QStringLiteral("^\\s*1\\s+\\d+\\s+image\\s+(\\d+)\\s+(\\d+)"));
        for (const QString &line : runProgram(pdfimages, { "-list", sheet }).out.split(u'\n')) {
            const QRegularExpressionMatch match = row.match(line);
            if (match.hasMatch())
                images.append(QSize(match.captured(1).toInt(), match.captured(2).toInt()));
        }
        ASSERT_EQ(images.size(), order.size()) << "one picture per item on the sheet";
        for (const Source &source : kSources) {
            const qsizetype at = order.indexOf(QLatin1String(source.name));
            ASSERT_GE(at, 0) << source.name << " is in the album";
            if (source.web == WebRule::Jpeg || source.web == WebRule::AsIs) {
                EXPECT_EQ(isPortrait(images.at(at)), source.portrait) << source.name;
            }
        }
    } else {
        std::printf("pdfimages is not installed: the contact sheet's pictures are not looked at\n");
    }

    // What a browser makes of the pictures: each one loads, at the orientation it must have.
    const QString browser = chromium();
    if (browser.isEmpty()) {
        std::printf("Chromium is not installed: the pages are not opened in a browser\n");
        return;
    }
    QString script = QStringLiteral("<html><body><pre id=out></pre><script>\n"
                                    "const out = document.getElementById('out');\n");
    for (const QString &name : std::as_const(shown))
        script += QStringLiteral("{ const i = new Image(); i.onload = () => { out.textContent += "
                                 "'%1 ' + i.naturalWidth + 'x' + i.naturalHeight + '\\n'; }; "
                                 "i.onerror = () => { out.textContent += '%1 broken\\n'; }; "
                                 "i.src = '%1'; }\n")
                      .arg(name);
    script += QStringLiteral("</script></body></html>\n");
    const QString checkPage = site + QStringLiteral("/check.html");
    writeFile(checkPage, script.toUtf8());
    const QString dom = dumpDom(browser, checkPage);
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const QRegularExpression seen(
            QStringLiteral("\\b%1 (\\d+)x(\\d+)").arg(QRegularExpression::escape(shown.at(i))));
        const QRegularExpressionMatch match = seen.match(dom);
        ASSERT_TRUE(match.hasMatch()) << qPrintable(shown.at(i)) << " in " << qPrintable(dom);
        EXPECT_EQ(match.captured(2).toInt() > match.captured(1).toInt(), portraits.at(i))
            << qPrintable(shown.at(i));
    }
}

} // namespace
