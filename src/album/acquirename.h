#pragma once

#include "core/messageids.h"
#include "platform/privateprofile.h"

#include <QDate>
#include <QString>

#include <utility>

namespace glimmerix
{

struct AcquireSettings;

// Names for pictures acquired from a scanner, camera or capture card.

// The acquire settings that decide the name.
struct AcquireNaming {
    QString folder; // AcquirePath
    QString prefix; // AcquireFilePrefix
    int fileType = 4; // AcquireFileType: 0 .bmp, 1 .tif, 2 .pcx, 3 .tga, 4 .jpg
    bool customPrefix = false; // AcquireCustPrefix
};

// The integer values of the private profile that date-coded names count with, by key number.
class AcquireCounterStore
{
public:
    virtual ~AcquireCounterStore() = default;
    virtual int readCounter(int keyId, int defaultValue) = 0;
    virtual void writeCounter(int keyId, int value) = 0;
};

inline constexpr int kAcquireCounterKey = Message::kNextCounterKey; // 54019: the next counter
inline constexpr int kAcquireDayKey = Message::kDayCodeKey; // 54023: day code of the last name

// The counters kept in the private profile GLIMIX.INI.
class ProfileAcquireCounters final : public AcquireCounterStore
{
public:
    explicit ProfileAcquireCounters(PrivateProfile profile = PrivateProfile())
        : m_profile(std::move(profile))
    {
    }
    int readCounter(int keyId, int defaultValue) override
    {
        return m_profile.readInt(keyId, defaultValue);
    }
    void writeCounter(int keyId, int value) override { m_profile.writeInt(keyId, value); }

private:
    PrivateProfile m_profile;
};

// The naming of the acquire settings: an empty acquire folder means `photosFolder`.
AcquireNaming acquireNamingFrom(const AcquireSettings &settings, const QString &photosFolder);

// The extension of an acquire file type (with its dot), empty for an unknown type.
QString acquireExtension(int fileType);
// The next acquired-file name. With the custom prefix: prefix + "_%04d" + extension, the first
// that does not exist. Otherwise the date-coded 8.3 name of `today` (month letters, day, year
// mark, three-digit counter kept in `counters`), passing over names that exist. Empty when every
// name is taken: no name is ever given that would write over a file.
QString nextAcquiredFileName(
    const AcquireNaming &naming, AcquireCounterStore &counters, const QDate &today);

} // namespace glimmerix
