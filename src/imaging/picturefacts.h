#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <optional>

namespace glimmerix
{

// What a picture file says about itself in its EXIF, XMP and IPTC blocks, read through Exiv2.
// Every field is read on its own: a field that is missing, absurdly long, not valid UTF-8 or out
// of range is left empty and the others are still read. Nothing here ever changes the file.

struct GpsPosition {
    double latitude = 0; // degrees, north positive
    double longitude = 0; // degrees, east positive
};

struct PictureFacts {
    // EXIF orientation 1-8 (1: upright; 6: turn a quarter clockwise to view); 0 when the file
    // gives none or a value outside 1-8.
    int orientation = 0;
    // When the picture was taken (DateTimeOriginal with its sub-seconds). With the offset from
    // UTC when the file gives one (OffsetTimeOriginal), local time otherwise; invalid when the
    // file gives no usable date.
    QDateTime taken;
    bool takenHasOffset = false;
    QString make;
    QString model;
    QString lens;
    double exposureSeconds = 0; // 0 when unknown
    double fNumber = 0; // 0 when unknown
    int iso = 0; // 0 when unknown
    double focalLengthMm = 0; // 0 when unknown
    std::optional<GpsPosition> position;
    QStringList keywords; // XMP dc:subject, then IPTC Keywords not already listed
    QString title; // XMP dc:title, or the IPTC object name
    QString description; // XMP dc:description, or the IPTC caption

    bool hasCameraFacts() const
    {
        return !make.isEmpty() || !model.isEmpty() || !lens.isEmpty() || exposureSeconds > 0
            || fNumber > 0 || iso > 0 || focalLengthMm > 0 || position.has_value();
    }
};

// Sets Exiv2 up once: quiet (its warnings would go to standard error) and safe to use from
// several threads. Every user of Exiv2 calls it first; the functions here do.
void prepareExiv2();

// The facts of the file at `path`; all empty when the file cannot be read or carries none.
// Never throws and never prints.
PictureFacts readPictureFacts(const QString &path);
// The same for a file's bytes already in memory (for the fuzz target and tests).
PictureFacts readPictureFactsFromBytes(const unsigned char *data, std::size_t size);

// The orientation (1-8) in a bare EXIF block, as a JPEG's APP1 segment holds it after "Exif\0\0"
// (the TIFF header onwards); 0 when it gives none or the block is damaged.
int orientationFromExif(const unsigned char *tiff, std::size_t size);

// "1/250 s", "2.5 s"; empty for 0.
QString exposureText(double seconds);
// The date taken as shown to people: "2024-05-17 14:03:22.250 +02:00" (the fraction and the
// offset only when the file gives them); empty when unknown.
QString takenText(const PictureFacts &facts);
// A map of the place in the browser (OpenStreetMap).
QString mapAddress(const GpsPosition &position);
// "turn a quarter clockwise" and so on, for orientation 1-8; empty otherwise.
QString orientationText(int orientation);

// The facts the file gives, as lines for people: ("date taken", "2024-05-17 14:03:22"),
// ("camera", "Canon EOS 5D"), ("lens", ...), ("exposure", "1/250 s"), ("f-number", "f/2.8"),
// ("ISO", "400"), ("focal length", "50 mm"), ("position", "48.858370, 2.294481"). Only those
// the file gives, in that order; the orientation and texts are not among them.
struct FactLine {
    QString label;
    QString value;
};
QList<FactLine> pictureFactLines(const PictureFacts &facts);
// The same facts as JSON members: dateTaken (ISO 8601, with the offset when known), make, model,
// lens, exposureTime (seconds), fNumber, iso, focalLength (mm), latitude, longitude, mapUrl.
// Only those the file gives.
QJsonObject pictureFactsJson(const PictureFacts &facts);

} // namespace glimmerix
