#pragma once

#include "cdjob.h"
#include "dispatch.h"

namespace glimmerix
{

// The CD job over a CD-writing engine's project object. Its interfaces are reached by slot
// number through the same dispatch calls (the slot is the call's number), so one test double or
// component serves both jobs.
class CEasyCdEngineJob final : public CCdJob
{
public:
    // The class identifier the job creates.
    static QString engineClassId();
    // Slots of the folder objects, which the engine leaves to us: is the folder usable, add a
    // file (path, two names, options), find a sub-folder (name), create one (name).
    enum FolderSlot { kFolderUsable = 3, kFolderAddFile = 5, kFolderFind = 7, kFolderCreate = 9 };

    explicit CEasyCdEngineJob(OwnerWindow mainWindow = {}, qint32 mainWindowId = 0);
    ~CEasyCdEngineJob() override = default;

    int open() override;
    int addFile(const QString &path, const OwnerWindow &owner) override;
    int write(const OwnerWindow &owner) override;
    int freeSpace() override;
    bool setDiscFolder(const QString &name) override;
    void prepare() override { }

    // The status of the engine call that failed last (0: none failed).
    qint32 lastError() const { return m_lastError; }

private:
    DispatchRef call(const DispatchRef &object, int slot, const QVariantList &args = {});

    OwnerWindow m_mainWindow;
    qint32 m_mainWindowId;
    DispatchRef m_project;
    DispatchRef m_layout;
    DispatchRef m_fileSystem;
    DispatchRef m_root;
    DispatchRef m_current;
    qint32 m_lastError = 0;
};

} // namespace glimmerix
