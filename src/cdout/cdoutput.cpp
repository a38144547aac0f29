#include "cdoutput.h"

#include "easycddispatchjob.h"
#include "easycdenginejob.h"
#include "mycdjob.h"
#include "wincdrjob.h"
#include "winoncdjob.h"

#include "platform/paths.h"
#include "platform/settingsstore.h"
#include "publish/productfiles.h"

#include <QFileInfo>

namespace glimmerix
{

CdOutput::Places standardCdPlaces(OwnerWindow mainWindow, OwnerWindow owner)
{
    return { configFolder(), runtimeFolder(), std::move(mainWindow), std::move(owner) };
}

CdOutput::CdOutput(SettingsStore &settings, Places places)
    : m_settings(settings)
    , m_places(std::move(places))
{
    choose();
}

CdOutput::~CdOutput() = default;

void CdOutput::choose()
{
    m_job = std::make_unique<CEasyCdEngineJob>(m_places.mainWindow);
    if (m_job->open()) {
        m_kind = CdApplicationKind::EasyCdCreator;
        return;
    }
    m_job = std::make_unique<CEasyCdDispatchJob>(m_settings, m_places.mainWindow);
    if (m_job->open()) {
        m_kind = CdApplicationKind::EasyCdCreator;
        return;
    }
    m_job.reset();
    if (winoncd::isWinOnCdInstalled(m_settings) && !winoncd::isWinOnCdRunning()) {
        m_kind = CdApplicationKind::WinOnCd;
        winoncd::clearStaging();
        m_staging = winoncd::stagingFolder();
        return;
    }
    if (wincdr::isAvailable(m_settings)) {
        m_kind = CdApplicationKind::WinCdr;
        return;
    }
    m_myCd = std::make_unique<CMyCdJob>(m_settings, m_places.myCdJobFolder, m_places.tempFolder);
    if (m_myCd->isAvailable())
        m_kind = CdApplicationKind::MyCd;
    else
        m_myCd.reset();
}

bool CdOutput::takesDiscFolder() const
{
    return m_kind && *m_kind != CdApplicationKind::WinCdr;
}

bool CdOutput::applicationBusy() const
{
    return CMyCdJob::isMyCdRunning();
}

qint64 CdOutput::freeBytes()
{
    if (!m_job)
        return -1;
    const int thousands = m_job->freeSpace();
    if (thousands >= 0)
        return qint64(thousands) * 1000;
    // The automation job does not ask; the capacity it learnt when it opened stands in.
    return m_job->capacityBlocks() > 0 ? qint64(m_job->capacityBlocks()) * 2048 : -1;
}

bool CdOutput::keepsWorkingFiles() const
{
    return m_kind && *m_kind != CdApplicationKind::EasyCdCreator;
}

// One file to the application; the project-file application reads its files from its own
// staging folder, so they are copied there first.
bool CdOutput::handOver(const QString &path, bool isMain)
{
    switch (*m_kind) {
    case CdApplicationKind::EasyCdCreator:
        return m_job->addFile(path, m_places.owner) == 1;
    case CdApplicationKind::WinOnCd: {
        QString staged = path;
        if (!m_staging.isEmpty() && QFileInfo(path).absolutePath() + u'/' != m_staging) {
            staged = m_staging + fileNameOf(path);
            if (!copyProductFile(path, staged).isEmpty())
                return false;
        }
        if (isMain)
            winoncd::setMainFile(staged);
        else
            winoncd::addFile(staged);
        return true;
    }
    case CdApplicationKind::WinCdr:
        return wincdr::addFile(m_settings, path, m_projectName) == 1;
    case CdApplicationKind::MyCd:
        return m_myCd->addFile(path) == 1;
    }
    return false;
}

bool CdOutput::deliver(const CdProduct &product)
{
    if (!m_kind)
        return false;
    m_projectName = product.projectName;
    const CdApplicationKind kind = *m_kind;
    if (kind == CdApplicationKind::WinCdr) {
        wincdr::clearTransferFolder(m_settings);
        if (!wincdr::beginJob(m_settings, m_projectName))
            return false;
    }
    const QString discFolder = kind == CdApplicationKind::WinCdr ? QString() : product.discFolder;
    if (product.autoRun) {
        if (!writeAutoRun(product.workingFolder, product.autoRunProduct, discFolder).isEmpty())
            return false;
        handOver(product.workingFolder + QStringLiteral("AutoRun.inf"), true);
    }
    if (!discFolder.isEmpty()) {
        switch (kind) {
        case CdApplicationKind::EasyCdCreator:
            m_job->setDiscFolder(discFolder);
            break;
        case CdApplicationKind::WinOnCd:
            winoncd::setStartFolder(discFolder);
            break;
        case CdApplicationKind::MyCd:
            m_myCd->setDiscFolder(discFolder);
            break;
        case CdApplicationKind::WinCdr:
            break;
        }
    }
    for (const QString &path : product.files)
        handOver(path, false);
    if (!product.programSource.isEmpty()) {
        const QString program = product.workingFolder + product.programName;
        if (copyProductProgram(product.programSource, program).isEmpty())
            handOver(program, false);
    }
    switch (kind) {
    case CdApplicationKind::EasyCdCreator:
        return m_job->write(m_places.owner) == 1;
    case CdApplicationKind::WinOnCd:
        return winoncd::writeProjectAndOpen();
    case CdApplicationKind::WinCdr:
        return wincdr::run(m_settings, m_projectName) == 1;
    case CdApplicationKind::MyCd:
        m_myCd->write();
        return true;
    }
    return false;
}

} // namespace glimmerix
