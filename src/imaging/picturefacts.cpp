// Exiv2 throws on damaged metadata and logs to stderr; both are kept in here. Every field is
// read in its own try block, so one broken field costs only itself.

#include "picturefacts.h"
#include "platform/fillin.h"

#include <exiv2/exiv2.hpp>

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTimeZone>

#include <cmath>
#include <limits>
#include <mutex>
#include <string>

namespace glimmerix
{

namespace
{

// Longest field kept, in bytes; anything longer is taken for damage and ignored.
constexpr std::size_t kMaxNameBytes = 256; // make, model, lens, one keyword
constexpr std::size_t kMaxTitleBytes = 4096;
constexpr std::size_t kMaxDescriptionBytes = 65536;
constexpr int kMaxKeywords = 500;

// Runs `read`, swallowing whatever Exiv2 or the standard library throws.
template<typename Read> void guarded(Read read)
{
    try {
        read();
    } catch (...) {
        // The field stays empty.
    }
}

// The text of a field when it is valid UTF-8 of at most `maxBytes` bytes: cut at the first
// NUL, control characters other than line breaks and tabs dropped, spaces trimmed. Empty
// otherwise.
QString cleanText(std::string raw, std::size_t maxBytes, bool oneLine = true)
{
    if (const std::size_t nul = raw.find('\0'); nul != std::string::npos)
        raw.resize(nul);
    if (raw.size() > maxBytes)
        return {};
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(QByteArrayView(raw.data(), qsizetype(raw.size())));
    if (decoder.hasError())
        return {};
    QString kept;
    kept.reserve(text.size());
    for (const QChar c : std::as_const(text)) {
        if (c == u'\n' || c == u'\t' || c == u'\r')
            kept.append(oneLine ? QChar(u' ') : c);
        else if (c.category() != QChar::Other_Control)
            kept.append(c);
    }
    return oneLine ? kept.simplified() : kept.trimmed();
}

const Exiv2::Exifdatum *exifField(const Exiv2::ExifData &exif, const char *key)
{
    const auto found = exif.findKey(Exiv2::ExifKey(key));
    return found == exif.end() ? nullptr : &*found;
}

const Exiv2::Xmpdatum *xmpField(const Exiv2::XmpData &xmp, const char *key)
{
    const auto found = xmp.findKey(Exiv2::XmpKey(key));
    return found == xmp.end() ? nullptr : &*found;
}

QString exifText(const Exiv2::ExifData &exif, const char *key)
{
    const Exiv2::Exifdatum *field = exifField(exif, key);
    return field && field->typeId() == Exiv2::asciiString
        ? cleanText(field->toString(), kMaxNameBytes)
        : QString();
}

// Component `n` of a rational field as a number, when its denominator is positive.
std::optional<double> rationalAt(const Exiv2::Exifdatum &field, long n)
{
    if (field.count() <= n)
        return std::nullopt;
    const Exiv2::TypeId type = field.typeId();
    if (type != Exiv2::unsignedRational && type != Exiv2::signedRational)
        return std::nullopt;
    const Exiv2::Rational value = field.toRational(n);
    if (value.second <= 0)
        return std::nullopt;
    return double(value.first) / double(value.second);
}

// A positive rational field within (0, limit]; 0 otherwise.
double positiveRational(const Exiv2::ExifData &exif, const char *key, double limit)
{
    const Exiv2::Exifdatum *field = exifField(exif, key);
    if (!field)
        return 0;
    const std::optional<double> value = rationalAt(*field, 0);
    return value && *value > 0 && *value <= limit ? *value : 0;
}

int readOrientation(const Exiv2::ExifData &exif)
{
    const Exiv2::Exifdatum *field = exifField(exif, "Exif.Image.Orientation");
    if (!field || field->count() < 1 || field->typeId() != Exiv2::unsignedShort)
        return 0;
    const long value = field->toLong(0);
    return value >= 1 && value <= 8 ? int(value) : 0;
}

void readTaken(const Exiv2::ExifData &exif, PictureFacts &facts)
{
    const QString stamp = exifText(exif, "Exif.Photo.DateTimeOriginal");
    static const QRegularExpression stampForm(
        QStringLiteral("^(\\d{4}):(\\d\\d):(\\d\\d)[ T](\\d\\d):(\\d\\d):(\\d\\d)"));
    const QRegularExpressionMatch parts = stampForm.match(stamp);
    if (!parts.hasMatch())
        return;
    const QDate date(
        parts.captured(1).toInt(), parts.captured(2).toInt(), parts.captured(3).toInt());
    QTime time(parts.captured(4).toInt(), parts.captured(5).toInt(), parts.captured(6).toInt());
    if (!date.isValid() || !time.isValid() || date.year() < 1800)
        return;
    guarded([&] {
        static const QRegularExpression digits(QStringLiteral("^\\d+"));
        const QString subSeconds
            = digits.match(exifText(exif, "Exif.Photo.SubSecTimeOriginal")).captured(0);
        if (!subSeconds.isEmpty())
            time = time.addMSecs((subSeconds + QStringLiteral("00")).left(3).toInt());
    });
    facts.taken = QDateTime(date, time, Qt::LocalTime);
    guarded([&] {
        static const QRegularExpression offsetForm(QStringLiteral("^([+-])(\\d\\d):(\\d\\d)$"));
        const QRegularExpressionMatch offset
            = offsetForm.match(exifText(exif, "Exif.Photo.OffsetTimeOriginal"));
        if (!offset.hasMatch())
            return;
        const int minutes = offset.captured(2).toInt() * 60 + offset.captured(3).toInt();
        if (minutes > 14 * 60 || offset.captured(3).toInt() >= 60)
            return;
        const int seconds = (offset.captured(1) == u'-' ? -60 : 60) * minutes;
        facts.taken = QDateTime(date, time, QTimeZone(seconds));
        facts.takenHasOffset = true;
    });
}

// Degrees from a GPS triple (degrees, minutes, seconds) and its N/S or E/W reference.
std::optional<double> gpsDegrees(
    const Exiv2::ExifData &exif, const char *key, const char *refKey, char negative, double limit)
{
    const Exiv2::Exifdatum *field = exifField(exif, key);
    const QString ref = exifText(exif, refKey);
    if (!field || field->count() != 3 || ref.size() != 1)
        return std::nullopt;
    double degrees = 0;
    double scale = 1;
    for (long n = 0; n < 3; ++n, scale *= 60) {
        const std::optional<double> part = rationalAt(*field, n);
        if (!part || *part < 0)
            return std::nullopt;
        degrees += *part / scale;
    }
    if (!std::isfinite(degrees) || degrees > limit)
        return std::nullopt;
    return ref.at(0).toUpper() == QLatin1Char(negative) ? -degrees : degrees;
}

void readExif(const Exiv2::ExifData &exif, PictureFacts &facts)
{
    guarded([&] { facts.orientation = readOrientation(exif); });
    guarded([&] { readTaken(exif, facts); });
    guarded([&] { facts.make = exifText(exif, "Exif.Image.Make"); });
    guarded([&] { facts.model = exifText(exif, "Exif.Image.Model"); });
    guarded([&] { facts.lens = exifText(exif, "Exif.Photo.LensModel"); });
    guarded(
        [&] { facts.exposureSeconds = positiveRational(exif, "Exif.Photo.ExposureTime", 1e5); });
    guarded([&] { facts.fNumber = positiveRational(exif, "Exif.Photo.FNumber", 1000); });
    guarded([&] { facts.focalLengthMm = positiveRational(exif, "Exif.Photo.FocalLength", 1e5); });
    guarded([&] {
        const Exiv2::Exifdatum *field = exifField(exif, "Exif.Photo.ISOSpeedRatings");
        if (field && field->count() >= 1
            && (field->typeId() == Exiv2::unsignedShort
                || field->typeId() == Exiv2::unsignedLong)) {
            const long iso = field->toLong(0);
            facts.iso = iso > 0 && iso <= 10000000 ? int(iso) : 0;
        }
    });
    guarded([&] {
        const auto latitude
            = gpsDegrees(exif, "Exif.GPSInfo.GPSLatitude", "Exif.GPSInfo.GPSLatitudeRef", 'S', 90);
        const auto longitude = gpsDegrees(
            exif, "Exif.GPSInfo.GPSLongitude", "Exif.GPSInfo.GPSLongitudeRef", 'W', 180);
        if (latitude && longitude)
            facts.position = GpsPosition { *latitude, *longitude };
    });
}

// The x-default text of a language alternative, or its first one.
QString langAltText(const Exiv2::XmpData &xmp, const char *key, std::size_t maxBytes)
{
    const Exiv2::Xmpdatum *field = xmpField(xmp, key);
    if (!field)
        return {};
    const auto *alternatives = dynamic_cast<const Exiv2::LangAltValue *>(&field->value());
    if (!alternatives || alternatives->value_.empty())
        return field->typeId() == Exiv2::xmpText ? cleanText(field->toString(), maxBytes, false)
                                                 : QString();
    const auto chosen = alternatives->value_.find("x-default");
    const std::string &text = chosen != alternatives->value_.end()
        ? chosen->second
        : alternatives->value_.begin()->second;
    return cleanText(text, maxBytes, false);
}

void addKeyword(PictureFacts &facts, const std::string &raw)
{
    const QString keyword = cleanText(raw, kMaxNameBytes);
    if (!keyword.isEmpty() && facts.keywords.size() < kMaxKeywords
        && !facts.keywords.contains(keyword))
        facts.keywords.append(keyword);
}

void readXmp(const Exiv2::XmpData &xmp, PictureFacts &facts)
{
    guarded([&] {
        const Exiv2::Xmpdatum *subject = xmpField(xmp, "Xmp.dc.subject");
        if (!subject)
            return;
        for (long n = 0; n < subject->count() && n < kMaxKeywords; ++n)
            guarded([&] { addKeyword(facts, subject->toString(n)); });
    });
    guarded([&] { facts.title = langAltText(xmp, "Xmp.dc.title", kMaxTitleBytes); });
    guarded(
        [&] { facts.description = langAltText(xmp, "Xmp.dc.description", kMaxDescriptionBytes); });
}

void readIptc(const Exiv2::IptcData &iptc, PictureFacts &facts)
{
    for (const Exiv2::Iptcdatum &field : iptc) {
        guarded([&] {
            const std::string key = field.key();
            if (key == "Iptc.Application2.Keywords")
                addKeyword(facts, field.toString());
            else if (key == "Iptc.Application2.Caption" && facts.description.isEmpty())
                facts.description = cleanText(field.toString(), kMaxDescriptionBytes, false);
            else if (key == "Iptc.Application2.ObjectName" && facts.title.isEmpty())
                facts.title = cleanText(field.toString(), kMaxTitleBytes);
        });
    }
}

template<typename Open> PictureFacts readImage(Open open)
{
    prepareExiv2();
    PictureFacts facts;
    try {
        auto image = open();
        if (!image.get())
            return facts;
        // A block that fails part way keeps what was read before the failure.
        guarded([&] { image->readMetadata(); });
        guarded([&] { readExif(image->exifData(), facts); });
        guarded([&] { readXmp(image->xmpData(), facts); });
        guarded([&] { readIptc(image->iptcData(), facts); });
    } catch (...) {
        // Not a file Exiv2 knows, or it cannot be opened: no facts.
    }
    return facts;
}

// Serialises the XMP toolkit's shared state (its namespace registry) between threads.
void lockXmp(void *mutex, bool lock)
{
    if (lock)
        static_cast<std::mutex *>(mutex)->lock();
    else
        static_cast<std::mutex *>(mutex)->unlock();
}

} // namespace

void prepareExiv2()
{
    static std::once_flag once;
    static std::mutex xmpMutex;
    std::call_once(once, [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::XmpParser::initialize(lockXmp, &xmpMutex);
    });
}

PictureFacts readPictureFacts(const QString &path)
{
    const std::string name = QFile::encodeName(path).toStdString();
    return readImage([&] { return Exiv2::ImageFactory::open(name, false); });
}

PictureFacts readPictureFactsFromBytes(const unsigned char *data, std::size_t size)
{
    if (!data || size == 0 || size > std::size_t(std::numeric_limits<long>::max()))
        return {};
    return readImage([&] { return Exiv2::ImageFactory::open(data, long(size)); });
}

int orientationFromExif(const unsigned char *tiff, std::size_t size)
{
    if (!tiff || size < 8 || size > 0xFFFFFFFFu)
        return 0;
    prepareExiv2();
    int orientation = 0;
    guarded([&] {
        Exiv2::ExifData exif;
        Exiv2::ExifParser::decode(exif, tiff, std::uint32_t(size));
        orientation = readOrientation(exif);
    });
    return orientation;
}

QString exposureText(double seconds)
{
    if (!(seconds > 0))
        return {};
    if (seconds < 0.5) {
        const double reciprocal = 1.0 / seconds;
        if (std::abs(reciprocal - std::round(reciprocal)) < 0.05)
            return QStringLiteral("1/%1 s").arg(std::llround(reciprocal));
    }
    return QStringLiteral("%1 s").arg(seconds, 0, 'g', 4);
}

QString takenText(const PictureFacts &facts)
{
    if (!facts.taken.isValid())
        return {};
    const QTime time = facts.taken.time();
    QString text = facts.taken.toString(time.msec() != 0 ? QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")
                                                         : QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (facts.takenHasOffset) {
        const int minutes = facts.taken.offsetFromUtc() / 60;
        text += fillIn(QStringLiteral(" %1%2:%3"),
            minutes < 0 ? QStringLiteral("-") : QStringLiteral("+"),
            QString::number(std::abs(minutes) / 60).rightJustified(2, u'0'),
            QString::number(std::abs(minutes) % 60).rightJustified(2, u'0'));
    }
    return text;
}

QString mapAddress(const GpsPosition &position)
{
    const QString lat = QString::number(position.latitude, 'f', 6);
    const QString lon = QString::number(position.longitude, 'f', 6);
    return QStringLiteral("https://www.openstreetmap.org/?mlat=%1&mlon=%2#map=16/%1/%2")
        .arg(lat, lon);
}

QString orientationText(int orientation)
{
    switch (orientation) {
    case 1:
        return QStringLiteral("upright");
    case 2:
        return QStringLiteral("mirrored left to right");
    case 3:
        return QStringLiteral("upside down");
    case 4:
        return QStringLiteral("mirrored top to bottom");
    case 5:
        return QStringLiteral("mirrored and turned a quarter clockwise");
    case 6:
        return QStringLiteral("turn a quarter clockwise");
    case 7:
        return QStringLiteral("mirrored and turned a quarter anticlockwise");
    case 8:
        return QStringLiteral("turn a quarter anticlockwise");
    default:
        return {};
    }
}

QList<FactLine> pictureFactLines(const PictureFacts &facts)
{
    QList<FactLine> lines;
    const auto add = [&](const char *label, const QString &value) {
        if (!value.isEmpty())
            lines.append({ QString::fromLatin1(label), value });
    };
    const auto number = [](double value) { return QString::number(value, 'g', 4); };
    add("date taken", takenText(facts));
    add("camera",
        facts.model.startsWith(facts.make)
            ? facts.model
            : QStringList { facts.make, facts.model }.join(u' ').trimmed());
    add("lens", facts.lens);
    add("exposure", exposureText(facts.exposureSeconds));
    add("f-number", facts.fNumber > 0 ? QStringLiteral("f/") + number(facts.fNumber) : QString());
    add("ISO", facts.iso > 0 ? QString::number(facts.iso) : QString());
    add("focal length",
        facts.focalLengthMm > 0 ? number(facts.focalLengthMm) + QStringLiteral(" mm") : QString());
    if (facts.position)
        add("position",
            fillIn(QStringLiteral("%1, %2"), QString::number(facts.position->latitude, 'f', 6),
                QString::number(facts.position->longitude, 'f', 6)));
    return lines;
}

QJsonObject pictureFactsJson(const PictureFacts &facts)
{
    QJsonObject json;
    if (facts.taken.isValid())
        json.insert(QStringLiteral("dateTaken"), facts.taken.toString(Qt::ISODateWithMs));
    const auto text = [&](const char *key, const QString &value) {
        if (!value.isEmpty())
            json.insert(QString::fromLatin1(key), value);
    };
    const auto positive = [&](const char *key, double value) {
        if (value > 0)
            json.insert(QString::fromLatin1(key), value);
    };
    text("make", facts.make);
    text("model", facts.model);
    text("lens", facts.lens);
    positive("exposureTime", facts.exposureSeconds);
    positive("fNumber", facts.fNumber);
    positive("iso", facts.iso);
    positive("focalLength", facts.focalLengthMm);
    if (facts.position) {
        json.insert(QStringLiteral("latitude"), facts.position->latitude);
        json.insert(QStringLiteral("longitude"), facts.position->longitude);
        json.insert(QStringLiteral("mapUrl"), mapAddress(*facts.position));
    }
    return json;
}

} // namespace glimmerix
