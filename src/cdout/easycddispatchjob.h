#pragma once

#include "cdjob.h"
#include "dispatch.h"

#include <optional>

namespace glimmerix
{

class SettingsStore;

// The CD job over the document automation object of a CD-writing application: a Joliet data
// disc, files added into the current disc folder, recording started in the application. While
// the job lives the application's "import the previous session" option stays off; the job's
// end restores it.
class CEasyCdDispatchJob final : public CCdJob
{
public:
    // The program identifiers tried in order when the job opens.
    static const QStringList &programIds();
    // Where the option lives in the user root of `settings`, and its value name.
    static QString optionKeyPath();
    static QString optionName();

    // `mainWindow` brings the main window to the front; `mainWindowId` is handed to the
    // document as its owner (0 when none).
    CEasyCdDispatchJob(
        SettingsStore &settings, OwnerWindow mainWindow = {}, qint32 mainWindowId = 0);
    ~CEasyCdDispatchJob() override;

    int open() override;
    int addFile(const QString &path, const OwnerWindow &owner) override;
    int write(const OwnerWindow &owner) override;
    int freeSpace() override { return -1; }
    bool setDiscFolder(const QString &name) override;
    void prepare() override;

private:
    void switchOptionOff();
    void restoreOption();
    bool setUp();

    SettingsStore &m_settings;
    OwnerWindow m_mainWindow;
    qint32 m_mainWindowId;
    DispatchRef m_document;
    DispatchRef m_layout;
    DispatchRef m_itemSource;
    bool m_restoreOption = false;
    std::optional<int> m_optionValue;
};

} // namespace glimmerix
