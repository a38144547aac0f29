#include "easycdenginejob.h"

#include "core/messageids.h"
#include "platform/host.h"

namespace glimmerix
{

namespace
{
namespace Project
{
constexpr int kOwnerWindow = 4;
constexpr int kDisc = 5;
constexpr int kInitialise = 8;
constexpr int kFileSystem = 11;
constexpr int kLayout = 16;
constexpr int kNewDataLayout = 18;
constexpr int kRecord = 21;
} // namespace Project
constexpr int kLayoutPrepare = 36;
constexpr int kFileSystemType = 38;
constexpr int kRootFolder = 3;
constexpr int kDiscMedium = 12;
constexpr int kMediumFreeBlocks = 23;
} // namespace

QString CEasyCdEngineJob::engineClassId()
{
    return QStringLiteral("{606EF130-9852-11D3-97C6-0060084856D4}");
}

CEasyCdEngineJob::CEasyCdEngineJob(OwnerWindow mainWindow, qint32 mainWindowId)
    : m_mainWindow(std::move(mainWindow))
    , m_mainWindowId(mainWindowId)
{
}

// One engine call; a failure is remembered in m_lastError and gives no object.
DispatchRef CEasyCdEngineJob::call(const DispatchRef &object, int slot, const QVariantList &args)
{
    if (!object || m_lastError != 0)
        return nullptr;
    const DispatchResult r = object->invoke(slot, args);
    if (!r.ok()) {
        m_lastError = r.status;
        return nullptr;
    }
    return r.object();
}

int CEasyCdEngineJob::open()
{
    const WaitCursor wait;
    m_project = createDispatchObject(engineClassId());
    if (!m_project)
        return 0;
    m_lastError = 0;
    call(m_project, Project::kInitialise);
    call(m_project, Project::kOwnerWindow, { m_mainWindowId });
    call(m_project, Project::kNewDataLayout, { 1, 0, 0 });
    m_layout = call(m_project, Project::kLayout);
    call(m_layout, kLayoutPrepare, { 0 });
    m_fileSystem = call(m_project, Project::kFileSystem);
    call(m_fileSystem, kFileSystemType,
        { QStringLiteral("FileSystem.Joliet"), QString(), QString() });
    m_root = call(m_fileSystem, kRootFolder);
    if (m_lastError != 0 || !m_root)
        return 0;
    const DispatchResult usable = m_root->invoke(kFolderUsable);
    if (!usable.ok() || !usable.value.toBool())
        return 0;
    m_current = m_root;
    return 1;
}

int CEasyCdEngineJob::addFile(const QString &path, const OwnerWindow &)
{
    if (seenBefore(path))
        return 1;
    if (m_current) {
        const DispatchResult r
            = m_current->invoke(kFolderAddFile, { path, QString(), QString(), 0 });
        if (r.ok() && r.object())
            return 0;
    }
    host().showMessage(Message::kCdApplicationFailed);
    return 2;
}

bool CEasyCdEngineJob::setDiscFolder(const QString &name)
{
    if (!m_root)
        return false;
    QString path = name.startsWith(u'\\') ? name : u'\\' + name;
    if (!(path.size() > 1 && path.endsWith(u'\\')))
        path += u'\\';
    DispatchRef folder = m_root;
    for (const QString &part : path.split(u'\\', Qt::SkipEmptyParts)) {
        DispatchResult r = folder->invoke(kFolderFind, { part });
        DispatchRef next = r.ok() ? r.object() : nullptr;
        if (!next) {
            r = folder->invoke(kFolderCreate, { part });
            next = r.ok() ? r.object() : nullptr;
        }
        if (!next)
            return false;
        folder = next;
    }
    m_current = folder;
    return true;
}

int CEasyCdEngineJob::write(const OwnerWindow &)
{
    if (!m_project)
        return 0;
    m_busy = true;
    const DispatchResult r = m_project->invoke(Project::kRecord, { 1, 0 });
    m_busy = false;
    if (!r.ok()) {
        m_lastError = r.status;
        host().showMessage(Message::kCdApplicationError, { QString::number(r.status) });
        return 0;
    }
    return 1;
}

int CEasyCdEngineJob::freeSpace()
{
    if (!m_project)
        return -1;
    const DispatchResult disc = m_project->invoke(Project::kDisc);
    const DispatchRef discObject = disc.ok() ? disc.object() : nullptr;
    if (!discObject)
        return -1;
    const DispatchResult medium = discObject->invoke(kDiscMedium);
    const DispatchRef mediumObject = medium.ok() ? medium.object() : nullptr;
    if (!mediumObject)
        return -1;
    const DispatchResult blocks = mediumObject->invoke(kMediumFreeBlocks);
    const qint64 b = blocks.ok() ? blocks.value.toLongLong() : 0;
    return b != 0 ? int(b * 2048 / 1000) : -1;
}

} // namespace glimmerix
