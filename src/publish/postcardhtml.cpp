#include "postcardhtml.h"

#include "postcardformat.h"
#include "postcardmaker.h"

#include <QBuffer>
#include <QImage>

namespace glimmerix
{

namespace
{

QByteArray pngDataUri(const QImage &image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return "data:image/png;base64," + png.toBase64();
}

QString percent(int part, int whole)
{
    return QString::number(whole > 0 ? 100.0 * part / whole : 0, 'f', 4) + u'%';
}

QString htmlEscaped(const QString &text)
{
    return text.toHtmlEscaped();
}

} // namespace

QByteArray postcardHtml(const PostcardContent &content, const QString &clipFileName)
{
    const QImage card = postcardCardImage(content);
    QImage frame = postcardFrameImage(content);
    if (frame.isNull()) {
        frame = QImage(kCardWidth, kCardHeight, QImage::Format_RGB32);
        frame.fill(Qt::black);
    }
    const QRect window = content.window;
    const QString clip = htmlEscaped(clipFileName);
    QByteArray html;
    html += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
            "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
            "<title>Video postcard</title>\n<style>\n"
            "body{margin:0;padding:24px;background:#2b2b30;color:#eee;"
            "font-family:sans-serif;display:flex;flex-wrap:wrap;gap:24px;justify-content:center}\n"
            ".side{position:relative;box-shadow:0 4px 18px #000;line-height:0}\n"
            ".side img{display:block;width:100%;height:auto}\n"
            "#clip{position:absolute;background:#000;object-fit:contain}\n"
            "#note{flex-basis:100%;text-align:center;line-height:1.4;min-height:1.4em}\n"
            "#note a{color:#9cf}\n</style>\n</head>\n<body>\n";
    html += QStringLiteral("<div class=\"side\" style=\"width:%1px;max-width:100%\">"
                           "<img id=\"frame\" alt=\"Postcard front\" src=\"")
                .arg(frame.width())
                .toUtf8();
    html += pngDataUri(frame);
    html += QStringLiteral("\">\n<video id=\"clip\" src=\"%1\" style=\"left:%2;top:%3;width:%4;"
                           "height:%5\" autoplay muted loop playsinline controls></video></div>\n")
                .arg(clip, percent(window.left(), frame.width()),
                    percent(window.top(), frame.height()), percent(window.width(), frame.width()),
                    percent(window.height(), frame.height()))
                .toUtf8();
    if (!card.isNull()) {
        html += QStringLiteral("<div class=\"side\" style=\"width:%1px;max-width:100%\">"
                               "<img id=\"card\" alt=\"Postcard message\" src=\"")
                    .arg(card.width())
                    .toUtf8();
        html += pngDataUri(card);
        html += "\"></div>\n";
    }
    html += QStringLiteral(
        "<p id=\"note\"></p>\n<script>\n"
        "// Notes in the page what loaded, so a reader (or a check) can tell at a glance.\n"
        "const clip = document.getElementById('clip');\n"
        "const note = document.getElementById('note');\n"
        "document.body.dataset.video = 'loading';\n"
        "clip.addEventListener('loadeddata', () => { document.body.dataset.video = 'loaded'; });\n"
        "clip.addEventListener('playing', () => { document.body.dataset.video = 'playing'; });\n"
        "clip.addEventListener('error', () => {\n"
        "  document.body.dataset.video = 'error';\n"
        "  note.innerHTML = 'This browser cannot play the clip. Open <a href=\"%1\">%1</a> "
        "with a media player, or run VideoPostcard.exe.';\n"
        "});\n"
        "window.addEventListener('load', () => {\n"
        "  for (const img of document.images)\n"
        "    document.body.dataset[img.id] = img.naturalWidth > 0 ? 'loaded' : 'missing';\n"
        "});\n"
        "</script>\n</body>\n</html>\n")
                .arg(clip)
                .toUtf8();
    return html;
}

} // namespace glimmerix
