#pragma once

#include <QSet>
#include <QString>

#include <functional>

namespace glimmerix
{

// Which CD-writing application a product wizard hands its files to.
enum class CdApplicationKind {
    EasyCdCreator = 0, // through a CCdJob (our disc component answers the same calls)
    WinOnCd = 1, // the project file job (winoncdjob.h)
    WinCdr = 2, // the add-on list job (wincdrjob.h)
    MyCd = 3, // CMyCdJob
};

// Brings the window that started a job back to the front; empty when there is none.
using OwnerWindow = std::function<void()>;

// The abstract CD job of the automation kinds. It remembers the paths already added (compared
// exactly; a second addFile of one path does nothing), whether it is recording, and the disc
// capacity in 2048-byte blocks.
class CCdJob
{
public:
    virtual ~CCdJob() = default;
    // Starts the application's automation with an empty data disc; non-zero when usable.
    virtual int open() = 0;
    // Adds one file into the current disc folder.
    virtual int addFile(const QString &path, const OwnerWindow &owner) = 0;
    // Lets the application record the disc.
    virtual int write(const OwnerWindow &owner) = 0;
    // Free space in units of 1000 bytes, or -1 when the application does not say.
    virtual int freeSpace() = 0;
    // Makes folder `name` (created where needed) the folder later files go into.
    virtual bool setDiscFolder(const QString &name) = 0;
    // Readies the application.
    virtual void prepare() = 0;

    bool busy() const { return m_busy; }
    int capacityBlocks() const { return m_blocks; }

protected:
    // True when `path` was added before; otherwise remembers it.
    bool seenBefore(const QString &path);

    bool m_busy = false;
    int m_blocks = 0;

private:
    QSet<QString> m_added;
};

// Whether a top-level window of another program is open, by window class or by title (without
// regard to case). Linux desktops give no portable answer, so the default says no; tests and a
// desktop-specific probe may install another.
struct WindowProbe {
    std::function<bool(const QString &windowClass)> classExists;
    std::function<bool(const QString &title)> titleExists;
};
bool windowClassExists(const QString &windowClass);
bool windowTitleExists(const QString &title);
// Installs `probe` and returns the previous one.
WindowProbe setWindowProbe(WindowProbe probe);

} // namespace glimmerix
