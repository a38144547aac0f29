#include "slideshowhtml.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

namespace glimmerix
{

namespace
{

// File names go into the page as relative URLs, so '#', '?' and '%' in a name stay part of it.
QString relativeUrl(const QString &name)
{
    return name.isEmpty() ? QString() : QString::fromUtf8(QUrl::toPercentEncoding(name));
}

QString htmlEscaped(const QString &text)
{
    return text.toHtmlEscaped();
}

// The page's script and style; the show's data goes in front of it.
constexpr const char *kPageBody = R"PAGE(<style>
html, body { margin: 0; height: 100%; background: #000; color: #fff; overflow: hidden;
  font-family: sans-serif; }
#stage { position: absolute; inset: 0 0 4em 0; display: flex; align-items: center;
  justify-content: center; }
#picture { max-width: 100%; max-height: 100%; object-fit: contain; }
#caption { position: absolute; left: 0; right: 0; bottom: 0; height: 4em; display: flex;
  align-items: center; justify-content: center; font-size: 1.4em; text-align: center; }
#state { position: absolute; top: 0.5em; right: 0.8em; font-size: 0.9em; color: #888; }
</style>
</head>
<body>
<div id="stage"><img id="picture" alt=""></div>
<div id="caption"></div>
<div id="state"></div>
<script>
(function () {
  var show = JSON.parse(document.getElementById('show').textContent);
  var picture = document.getElementById('picture');
  var caption = document.getElementById('caption');
  var state = document.getElementById('state');
  var current = -1, timer = null, paused = false, ended = false;
  var music = null, sound = null;

  function play(audio) {
    if (!audio) return;
    var started = audio.play();
    // A browser may wait for a click before it plays; the show goes on meanwhile.
    if (started && started.catch) started.catch(function () {});
  }
  function stopSound() {
    if (sound) { sound.pause(); sound = null; }
  }
  function schedule() {
    clearTimeout(timer);
    if (!paused && !ended) timer = setTimeout(next, show.slides[current].ms);
  }
  function showSlide(index) {
    current = index;
    var slide = show.slides[index];
    picture.src = slide.picture;
    caption.textContent = slide.notes;
    document.body.setAttribute('data-slide', String(index));
    stopSound();
    if (show.mode === 1 && slide.sound) {
      sound = new Audio(slide.sound);
      if (!paused) play(sound);
    }
    state.textContent = paused ? 'Paused' : '';
    schedule();
  }
  function next() {
    if (current + 1 < show.slides.length) { showSlide(current + 1); return; }
    // The last picture stays; the show has ended.
    ended = true;
    clearTimeout(timer);
    if (music) music.pause();
    state.textContent = 'End';
    document.body.setAttribute('data-ended', 'true');
  }
  function previous() {
    ended = false;
    showSlide(Math.max(0, current - 1));
  }
  function togglePause() {
    paused = !paused;
    var audio = show.mode === 0 ? music : sound;
    if (audio) { if (paused) audio.pause(); else play(audio); }
    state.textContent = paused ? 'Paused' : '';
    schedule();
  }
  document.addEventListener('keydown', function (event) {
    switch (event.key) {
    case 'ArrowRight': case ' ': case 'Enter': case 'PageDown':
      ended = false; next(); break;
    case 'ArrowLeft': case 'PageUp': previous(); break;
    case 'Home': ended = false; showSlide(0); break;
    case 'p': case 'P': togglePause(); break;
    default: return;
    }
    event.preventDefault();
  });
  document.addEventListener('click', function () {
    play(show.mode === 0 ? music : sound);
  });
  if (show.mode === 0 && show.music) {
    music = new Audio(show.music);
    play(music);
  }
  if (show.slides.length > 0) showSlide(0);
})();
</script>
</body>
</html>
)PAGE";

} // namespace

QByteArray slideShowHtml(const SlideShowFile &show)
{
    QJsonArray slides;
    for (int i = 0; i < show.entries.size(); ++i) {
        const ShowEntry &entry = show.entries.at(i);
        slides.append(QJsonObject {
            { QStringLiteral("picture"), relativeUrl(entry.pictureName) },
            { QStringLiteral("notes"), entry.notes },
            { QStringLiteral("sound"), relativeUrl(entry.soundName) },
            { QStringLiteral("ms"), slideMilliseconds(show, i) },
        });
    }
    const QJsonObject data {
        { QStringLiteral("title"), show.title },
        { QStringLiteral("mode"), int(show.sound) },
        { QStringLiteral("music"), relativeUrl(show.musicName) },
        { QStringLiteral("slides"), slides },
    };
    // A "<" inside the data could end the script element early; in JSON strings it may be
    // written as an escape.
    QByteArray json = QJsonDocument(data).toJson(QJsonDocument::Compact);
    json.replace("<", "\\u003c");
    QByteArray page = "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>";
    page += htmlEscaped(show.title.isEmpty() ? QStringLiteral("Slide Show") : show.title).toUtf8();
    page += "</title>\n<script type=\"application/json\" id=\"show\">";
    page += json;
    page += "</script>\n";
    page += kPageBody;
    return page;
}

} // namespace glimmerix
