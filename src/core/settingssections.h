#pragma once

#include <QString>

namespace glimmerix
{

// The sections of the program's settings as plain values. The application reads and writes them
// (core/appsettings.h); logic that needs a section gets it from its caller as one of these
// structs and never reads the settings itself.

// Byte limits of the stored texts (one byte of each field stays for the terminator).
inline constexpr int kMaxOnlineValueBytes = 127;
inline constexpr int kMaxLabelBytes = 29;

// Defaults of the online photo service endpoint.
inline constexpr const char *kDefaultZoSite = "photos.glimmerix.example";
inline constexpr const char *kDefaultZoGetServer = "/servlet/com.api.GetServer";
inline constexpr const char *kDefaultZoUpload = "/servlet/Upload";
inline constexpr const char *kDefaultZoDownload = "/servlet/com.api.ImageList";

// Acquired-file type: 0 ".bmp", 1 ".tif", 2 ".pcx", 3 ".tga", 4 ".jpg".
inline constexpr int kDefaultAcquireFileType = 4;

// One program of the launcher bar. The icon is fetched from the path by the window that shows it.
struct ExternalApp {
    QString path;
    QString label;
    bool operator==(const ExternalApp &other) const = default;
};

struct OnlineService {
    QString site = QString::fromLatin1(kDefaultZoSite);
    QString getServer = QString::fromLatin1(kDefaultZoGetServer);
    QString upload = QString::fromLatin1(kDefaultZoUpload);
    QString download = QString::fromLatin1(kDefaultZoDownload); // the image-list path
};

struct AcquireSettings {
    QString path; // the photos folder when empty
    QString filePrefix;
    QString source;
    int fileType = kDefaultAcquireFileType;
    int custPrefix = 0;
    bool operator==(const AcquireSettings &other) const = default;
};

// The item texts that carry a user-set label, in the order the labels are set.
enum class ItemField { Caption, Keywords, Description };

} // namespace glimmerix
