#pragma once

#include "imaging/blockmemory.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

namespace glimmerix
{

// Scanner acquisition over SANE with the life cycle of a classic source manager: the manager
// (the SANE library) is opened, a source (a SANE device) is chosen and opened, set to memory
// transfer and enabled with its user interface (our scan dialog); each "transfer ready" from
// that interface scans one picture and hands it over, "close request" disables and closes
// everything. In mode 3 the source stays enabled between pictures.

struct ScanSourceInfo {
    QString name; // the SANE device name, "test:0"
    QString vendor;
    QString model;
    QString type;
    QString label() const;
};

// A SANE option the scan dialog offers.
struct ScanOption {
    enum class Kind { Choice, Number, Switch, Action };
    QString name;
    QString title;
    Kind kind = Kind::Number;
    QStringList choices; // Choice
    QList<double> values; // Number with a list of values
    double minimum = 0; // Number with a range
    double maximum = 0;
    QString unit; // "mm", "dpi" or empty
    bool active = true;
};

// The three colour modes asked for by name.
enum class ScanColourMode { Colour, Grey, Lineart };

// What is wrong with the picture a device says it will send; empty when it can be received.
QString scanParametersProblem(
    int format, int depth, int pixelsPerLine, int lines, int bytesPerLine);

class ScanSourceManager
{
public:
    // Called with each finished picture (the receiver takes the block), or with 0 when a
    // transfer failed or was cancelled.
    using Deliver = std::function<void(BlockHandle)>;
    explicit ScanSourceManager(Deliver deliver);
    ~ScanSourceManager();
    ScanSourceManager(const ScanSourceManager &) = delete;
    ScanSourceManager &operator=(const ScanSourceManager &) = delete;

    // Loads the SANE library `library` (empty: the one the language bundle names) and
    // initialises it. On failure shows message 54025 in a warning box titled "Warning".
    bool openManager(const QString &library = {});
    // Refused while a source is open.
    bool closeManager();
    QList<ScanSourceInfo> sources() const;
    // The remembered source when it is still there, else the first one; empty when none.
    QString defaultSource(const QString &remembered) const;
    bool openSource(const QString &name);
    // Refused while the source is enabled.
    bool closeSource();
    // Memory transfer is the only mechanism; true when a source is open.
    bool setMemoryTransfer();
    bool enableSource();
    bool disableSource();

    bool isManagerOpen() const { return m_managerOpen; }
    bool isSourceOpen() const { return m_handle != nullptr; }
    bool isSourceEnabled() const { return m_enabled; }
    QString sourceName() const { return m_sourceName; }
    int mode() const { return m_mode; }
    void setMode(int mode) { m_mode = mode; }

    // The events of the source's user interface.
    void transferReady();
    void closeRequest();

    // A quick low-resolution scan of the whole bed for the scan dialog (the caller takes the
    // block; 0 on failure), not handed over as a picture.
    BlockHandle scanPreview();

    // Options of the open source.
    QList<ScanOption> options() const;
    QVariant option(const QString &name) const;
    bool setOption(const QString &name, const QVariant &value);
    // Sets the device's mode for `mode`; lineart falls back to grey thresholded to 1 bit.
    bool setColourMode(ScanColourMode mode);
    // Sets the scan area in millimetres (left, top, width, height).
    bool setArea(double left, double top, double width, double height);

    // Polled while a picture is read; true ends the transfer (the picture is dropped).
    void setCancelCheck(std::function<bool()> cancelled) { m_cancelled = std::move(cancelled); }
    // Why the last transfer or operation failed, for the user.
    QString lastError() const { return m_error; }

private:
    BlockHandle scanPicture();
    int optionIndex(const QString &name) const;

    Deliver m_deliver;
    void *m_library = nullptr;
    struct Api;
    Api *m_api = nullptr;
    bool m_managerOpen = false;
    void *m_handle = nullptr;
    bool m_enabled = false;
    bool m_thresholdGrey = false;
    int m_mode = 0;
    QString m_sourceName;
    QString m_error;
    std::function<bool()> m_cancelled;
};

} // namespace glimmerix
