#include "disccomponent.h"

#include "discburner.h"
#include "disclayout.h"
#include "dispatch.h"
#include "easycddispatchjob.h"

#include "core/messageids.h"
#include "platform/host.h"
#include "platform/strings.h"

#include <QHash>
#include <QMutex>

#include <limits>

namespace glimmerix
{

namespace
{

struct ComponentSettings {
    QMutex mutex;
    DiscTargetChooser chooser;
    qint64 capacityBlocks = kCdCapacityBlocks;
    DiscRecordResult last;
};

ComponentSettings &settings()
{
    static ComponentSettings instance;
    return instance;
}

// A plain object that keeps what is put into it and answers nothing else.
class PropertyBag final : public DispatchObject
{
public:
    DispatchResult invoke(int id, const QVariantList &) override
    {
        return DispatchResult::failure(-1, QStringLiteral("no method %1").arg(id));
    }
    DispatchResult put(int id, const QVariant &value) override
    {
        m_values.insert(id, value);
        return {};
    }

private:
    QHash<int, QVariant> m_values;
};

// The disc being put together, shared by the document and its layout object.
struct DiscState {
    DiscLayout layout;
    QString currentFolder; // disc path, "" for the top
    QString fileSystem = QStringLiteral("JOLIET");
};

class ItemSource final : public DispatchObject
{
public:
    DispatchResult invoke(int id, const QVariantList &) override
    {
        if (id != 3)
            return DispatchResult::failure(-1, QStringLiteral("no method %1").arg(id));
        return { dispatchValue(std::make_shared<PropertyBag>()) };
    }
    DispatchResult put(int id, const QVariant &) override
    {
        return DispatchResult::failure(-1, QStringLiteral("no property %1").arg(id));
    }
};

class LayoutObject final : public DispatchObject
{
public:
    explicit LayoutObject(std::shared_ptr<DiscState> state)
        : m_state(std::move(state))
    {
    }

    DispatchResult invoke(int id, const QVariantList &args) override
    {
        switch (id) {
        case 12: { // set the current folder, made where missing; "\" is the top
            m_state->currentFolder = m_state->layout.addFolder(args.value(0).toString());
            return { true };
        }
        case 14:
            return { dispatchValue(std::make_shared<ItemSource>()) };
        case 15: { // add a file into the current folder
            QString error;
            if (!m_state->layout.addFile(args.value(0).toString(), m_state->currentFolder, &error))
                return DispatchResult::failure(-2, error);
            return { qint32(1) };
        }
        default:
            return DispatchResult::failure(-1, QStringLiteral("no method %1").arg(id));
        }
    }
    DispatchResult put(int id, const QVariant &) override
    {
        return DispatchResult::failure(-1, QStringLiteral("no property %1").arg(id));
    }

private:
    std::shared_ptr<DiscState> m_state;
};

class FileSystemObject final : public DispatchObject
{
public:
    explicit FileSystemObject(std::shared_ptr<DiscState> state)
        : m_state(std::move(state))
    {
    }
    DispatchResult invoke(int id, const QVariantList &args) override
    {
        if (id == 2)
            return { m_state->fileSystem };
        if (id == 5) {
            m_state->fileSystem = args.value(0).toString();
            return {};
        }
        return DispatchResult::failure(-1, QStringLiteral("no method %1").arg(id));
    }
    DispatchResult put(int id, const QVariant &) override
    {
        return DispatchResult::failure(-1, QStringLiteral("no property %1").arg(id));
    }

private:
    std::shared_ptr<DiscState> m_state;
};

class OptionsObject final : public DispatchObject
{
public:
    DispatchResult invoke(int id, const QVariantList &) override
    {
        if (id == 3 || id == 4)
            return { dispatchValue(std::make_shared<PropertyBag>()) };
        return DispatchResult::failure(-1, QStringLiteral("no method %1").arg(id));
    }
    DispatchResult put(int id, const QVariant &) override
    {
        return DispatchResult::failure(-1, QStringLiteral("no property %1").arg(id));
    }
};

QString megabytes(qint64 bytes)
{
    return QString::number((bytes + (1 << 20) - 1) >> 20);
}

DiscRecordResult record(const DiscLayout &layout)
{
    DiscTargetChooser chooser;
    qint64 capacity = 0;
    {
        ComponentSettings &s = settings();
        const QMutexLocker lock(&s.mutex);
        chooser = s.chooser;
        capacity = s.capacityBlocks * DiscLayout::kBlockSize;
    }
    DiscRecordResult result;
    result.target = chooser
        ? chooser({ layout.estimatedBlocks() * DiscLayout::kBlockSize, capacity })
        : DiscTarget {};
    if (result.target.kind == DiscTarget::Kind::None)
        return result;

    std::unique_ptr<Progress> progress = host().createProgress();
    progress->setTitle(loadString(Message::kDiscWritingTitle));
    progress->setText(result.target.path);
    progress->show();
    DiscLayout::Outcome outcome = DiscLayout::Outcome::Failed;
    if (result.target.kind == DiscTarget::Kind::ImageFile) {
        outcome = layout.writeImage(
            result.target.path, capacity, progress.get(), &result.problem, &result.imageBytes);
    } else {
        switch (
            burnDisc(layout, { result.target.path, capacity, progress.get() }, &result.problem)) {
        case BurnOutcome::Written:
            outcome = DiscLayout::Outcome::Written;
            break;
        case BurnOutcome::TooLarge:
            outcome = DiscLayout::Outcome::TooLarge;
            break;
        case BurnOutcome::Cancelled:
            outcome = DiscLayout::Outcome::Cancelled;
            break;
        case BurnOutcome::Failed:
            break;
        }
    }
    progress->close();
    switch (outcome) {
    case DiscLayout::Outcome::Written:
        result.written = true;
        result.problem.clear();
        host().showMessage(Message::kDiscWritten, { result.target.path }, MessageIcon::Information);
        break;
    case DiscLayout::Outcome::TooLarge:
        if (result.imageBytes == 0)
            result.imageBytes = layout.estimatedBlocks() * DiscLayout::kBlockSize;
        host().showMessage(
            Message::kDiscTooSmall, { megabytes(result.imageBytes), megabytes(capacity) });
        break;
    case DiscLayout::Outcome::Cancelled:
        break;
    case DiscLayout::Outcome::Failed:
        host().showMessage(Message::kDiscNotWritten, { result.target.path, result.problem });
        break;
    }
    return result;
}

class DiscDocument final : public DispatchObject
{
public:
    DispatchResult invoke(int id, const QVariantList &) override
    {
        switch (id) {
        case 4: { // free bytes on the disc as it stands
            const qint64 capacity = discCapacityBlocks() * DiscLayout::kBlockSize;
            const qint64 free
                = capacity - m_state->layout.estimatedBlocks() * DiscLayout::kBlockSize;
            return { qint32(std::clamp<qint64>(free, 0, std::numeric_limits<qint32>::max())) };
        }
        case 26:
            return { dispatchValue(m_layoutObject) };
        case 28:
            return { dispatchValue(std::make_shared<FileSystemObject>(m_state)) };
        case 29: // an empty data disc
            m_state->layout.clear();
            m_state->currentFolder.clear();
            return { true };
        case 31: {
            const DiscRecordResult result = record(m_state->layout);
            {
                ComponentSettings &s = settings();
                const QMutexLocker lock(&s.mutex);
                s.last = result;
            }
            return { result.written };
        }
        case 32:
            return { dispatchValue(std::make_shared<OptionsObject>()) };
        case 36:
            return { true };
        default:
            return DispatchResult::failure(-1, QStringLiteral("no method %1").arg(id));
        }
    }
    DispatchResult put(int id, const QVariant &) override
    {
        if (id == 1) // the owner window: dialogs take the active window themselves
            return {};
        return DispatchResult::failure(-1, QStringLiteral("no property %1").arg(id));
    }

private:
    std::shared_ptr<DiscState> m_state = std::make_shared<DiscState>();
    DispatchRef m_layoutObject = std::make_shared<LayoutObject>(m_state);
};

} // namespace

DiscTargetChooser setDiscTargetChooser(DiscTargetChooser chooser)
{
    ComponentSettings &s = settings();
    const QMutexLocker lock(&s.mutex);
    return std::exchange(s.chooser, std::move(chooser));
}

qint64 setDiscCapacityBlocks(qint64 blocks)
{
    ComponentSettings &s = settings();
    const QMutexLocker lock(&s.mutex);
    return std::exchange(s.capacityBlocks, blocks);
}

qint64 discCapacityBlocks()
{
    ComponentSettings &s = settings();
    const QMutexLocker lock(&s.mutex);
    return s.capacityBlocks;
}

DiscRecordResult lastDiscRecord()
{
    ComponentSettings &s = settings();
    const QMutexLocker lock(&s.mutex);
    return s.last;
}

void registerDiscComponent()
{
    registerDispatchClass(CEasyCdDispatchJob::programIds().constFirst(),
        [] { return std::make_shared<DiscDocument>(); });
}

} // namespace glimmerix
