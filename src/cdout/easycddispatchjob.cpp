#include "easycddispatchjob.h"

#include "core/messageids.h"
#include "platform/host.h"
#include "platform/settingsstore.h"

namespace glimmerix
{

namespace
{

// The automation numbers of the document and its helper objects.
namespace Doc
{
constexpr int kOwnerWindow = 1; // property
constexpr int kCapacity = 4;
constexpr int kLayout = 26;
constexpr int kFileSystem = 28;
constexpr int kNewDataDisc = 29;
constexpr int kRecord = 31;
constexpr int kOptions = 32;
constexpr int kRefresh = 36;
} // namespace Doc
namespace Layout
{
constexpr int kSetFolder = 12;
constexpr int kItemSource = 14;
constexpr int kAddFile = 15;
} // namespace Layout
constexpr int kNewItem = 3; // item source
constexpr int kFileSystemName = 2;
constexpr int kSetFileSystem = 5;
constexpr int kWriteOptions = 3; // options object
constexpr int kSessionOptions = 4;
constexpr int kDefaultBlocks = 321750;
const QString kJoliet = QStringLiteral("JOLIET");

} // namespace

const QStringList &CEasyCdDispatchJob::programIds()
{
    static const QStringList ids { QStringLiteral("EasyCDCreator.document.4"),
        QStringLiteral("EasyCDCreator.document.3") };
    return ids;
}

QString CEasyCdDispatchJob::optionKeyPath()
{
    return QStringLiteral("Software\\Adaptec\\Easy CD Creator\\File System Properties");
}

QString CEasyCdDispatchJob::optionName()
{
    return QStringLiteral("bAutoImportPrevSess");
}

CEasyCdDispatchJob::CEasyCdDispatchJob(
    SettingsStore &settings, OwnerWindow mainWindow, qint32 mainWindowId)
    : m_settings(settings)
    , m_mainWindow(std::move(mainWindow))
    , m_mainWindowId(mainWindowId)
{
}

CEasyCdDispatchJob::~CEasyCdDispatchJob()
{
    const WaitCursor wait;
    m_layout.reset();
    m_document.reset();
    if (m_restoreOption)
        restoreOption();
}

void CEasyCdDispatchJob::switchOptionOff()
{
    const std::optional<QString> text
        = m_settings.readString(SettingsRoot::User, optionKeyPath(), optionName(), 5);
    if (text) {
        m_optionValue = text->trimmed().toInt();
        if (*m_optionValue != 0)
            m_settings.writeString(
                SettingsRoot::User, optionKeyPath(), optionName(), QStringLiteral("0"));
    }
    m_restoreOption = true;
}

void CEasyCdDispatchJob::restoreOption()
{
    // A value that was never there is not made up: only what was read goes back.
    if (m_optionValue)
        m_settings.writeString(
            SettingsRoot::User, optionKeyPath(), optionName(), QString::number(*m_optionValue));
}

int CEasyCdDispatchJob::open()
{
    switchOptionOff();
    for (const QString &id : programIds()) {
        if ((m_document = createDispatchObject(id)))
            break;
    }
    if (!m_document)
        return 0;
    if (!setUp()) {
        host().showMessage(Message::kCdApplicationFailed);
        return 0;
    }
    return m_layout ? 1 : 0;
}

// The calls that prepare an empty Joliet data disc. False when one of them fails.
bool CEasyCdDispatchJob::setUp()
{
    DispatchResult r = m_document->invoke(Doc::kLayout);
    if (!r.ok())
        return false;
    if (!(m_layout = r.object()))
        return true; // no layout: open reports the application unusable without a message
    if (!m_document->invoke(Doc::kNewDataDisc, { true }).ok())
        return false;
    if (!(r = m_layout->invoke(Layout::kItemSource)).ok())
        return false;
    m_itemSource = r.object();
    if (!(r = m_document->invoke(Doc::kCapacity)).ok())
        return false;
    m_blocks = r.value.toInt() / 2048;
    if (m_blocks == 0)
        m_blocks = kDefaultBlocks;

    if (!(r = m_document->invoke(Doc::kFileSystem)).ok())
        return false;
    if (const DispatchRef fs = r.object()) {
        if (!(r = fs->invoke(kFileSystemName)).ok())
            return false;
        if (r.value.toString() != kJoliet && !fs->invoke(kSetFileSystem, { kJoliet }).ok())
            return false;
    }
    if (!(r = m_document->invoke(Doc::kOptions)).ok())
        return false;
    if (const DispatchRef options = r.object()) {
        if (!(r = options->invoke(kWriteOptions)).ok())
            return false;
        if (const DispatchRef a = r.object()) {
            for (int property : { 2, 3, 6 }) {
                if (!a->put(property, false).ok())
                    return false;
            }
        }
        if (!(r = options->invoke(kSessionOptions)).ok())
            return false;
        if (const DispatchRef b = r.object()) {
            if (!b->put(1, QVariant::fromValue(qint16(1))).ok() || !b->put(4, true).ok())
                return false;
        }
    }
    return m_document->put(Doc::kOwnerWindow, m_mainWindowId).ok();
}

int CEasyCdDispatchJob::addFile(const QString &path, const OwnerWindow &owner)
{
    if (seenBefore(path))
        return 1;
    if (!m_document || !m_layout || !m_itemSource)
        return 0;
    m_document->invoke(Doc::kRefresh);
    int result = 0;
    const DispatchResult item = m_itemSource->invoke(kNewItem, { qint32(0) });
    const DispatchResult added = item.ok()
        ? m_layout->invoke(Layout::kAddFile, { path, true, dispatchValue(item.object()) })
        : item;
    if (added.ok())
        result = added.value.toInt();
    else
        host().showMessage(Message::kCdApplicationFailed);
    if (owner)
        owner();
    return result;
}

bool CEasyCdDispatchJob::setDiscFolder(const QString &name)
{
    if (!m_document || !m_layout)
        return false;
    m_document->invoke(Doc::kRefresh);
    const DispatchResult r = m_layout->invoke(Layout::kSetFolder, { name });
    if (m_mainWindow)
        m_mainWindow();
    return r.ok() && r.value.toBool();
}

int CEasyCdDispatchJob::write(const OwnerWindow &owner)
{
    if (!m_document)
        return 0;
    m_busy = true;
    DispatchResult failed;
    bool recorded = false;
    {
        const WaitCursor wait;
        if (const DispatchResult r = m_document->invoke(Doc::kRefresh); !r.ok()) {
            failed = r;
        } else if (const DispatchResult c = m_document->invoke(Doc::kCapacity); !c.ok()) {
            failed = c;
        } else if (c.value.toInt() < 0) {
            host().showMessage(Message::kNoUsableDisc);
        } else if (const DispatchResult w
                   = m_document->invoke(Doc::kRecord, { dispatchValue(nullptr) });
                   !w.ok()) {
            failed = w;
        } else {
            recorded = w.value.toBool();
        }
    }
    if (!failed.ok())
        host().showMessage(Message::kCdApplicationError, { QString::number(failed.status) });
    if (owner)
        owner();
    m_busy = false;
    // The recording call's own answer says whether a disc was made (the messages are its own).
    return recorded ? 1 : 0;
}

void CEasyCdDispatchJob::prepare()
{
    if (m_document)
        m_document->invoke(Doc::kRefresh);
}

} // namespace glimmerix
