#pragma once

#include "cdjob.h"

#include "publish/cddelivery.h"

#include <memory>
#include <optional>

namespace glimmerix
{

class CMyCdJob;
class SettingsStore;

// The one CD delivery every product wizard and the command line use: chooses the CD application
// when made (the automation jobs first, then the project-file, add-on and job-file
// applications), then hands a product over in the fixed order: AutoRun.inf at the top, the disc
// folder, the product's files, the program, and the recording.
class CdOutput final : public CdDelivery
{
public:
    struct Places {
        QString myCdJobFolder; // where the job-file application's job file lives
        QString tempFolder; // where its numbered disc folders go
        OwnerWindow mainWindow; // brings the main window to the front
        OwnerWindow owner; // brings the wizard to the front
    };

    CdOutput(SettingsStore &settings, Places places);
    ~CdOutput() override;

    std::optional<CdApplicationKind> kind() const { return m_kind; }
    CCdJob *job() const { return m_job.get(); }

    bool available() const override { return m_kind.has_value(); }
    bool takesDiscFolder() const override;
    bool applicationBusy() const override;
    qint64 freeBytes() override;
    bool deliver(const CdProduct &product) override;
    bool keepsWorkingFiles() const override;

private:
    void choose();
    bool handOver(const QString &path, bool isMain);

    SettingsStore &m_settings;
    Places m_places;
    std::optional<CdApplicationKind> m_kind;
    std::unique_ptr<CCdJob> m_job;
    std::unique_ptr<CMyCdJob> m_myCd;
    QString m_projectName;
    QString m_staging; // where files wait for the project-file application
};

// The places the program uses: the job file in the config folder, disc folders in the private
// runtime folder.
CdOutput::Places standardCdPlaces(OwnerWindow mainWindow = {}, OwnerWindow owner = {});

} // namespace glimmerix
