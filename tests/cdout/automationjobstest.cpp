// The automation CD jobs' calls in their order, recorded through a test double of the dispatch
// interface, and the application option they switch off and restore.

#include "cdtesthelpers.h"

#include "cdout/dispatch.h"
#include "cdout/easycddispatchjob.h"
#include "cdout/easycdenginejob.h"
#include "core/messageids.h"
#include "support/recordinghost.h"

#include <QHash>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

// An automation object that logs "name.id(args)" and "name.id:=value" and answers from a table
// (unknown calls succeed with no value).
class FakeObject final : public DispatchObject
{
public:
    using Answer = std::function<DispatchResult(const QVariantList &)>;
    FakeObject(QString name, QStringList *log)
        : m_name(std::move(name))
        , m_log(log)
    {
    }
    void answer(int id, Answer answer) { m_answers.insert(id, std::move(answer)); }
    void answer(int id, const QVariant &value)
    {
        m_answers.insert(id, [value](const QVariantList &) { return DispatchResult { value }; });
    }

    DispatchResult invoke(int id, const QVariantList &args) override
    {
        QStringList shown;
        for (const QVariant &arg : args)
            shown.append(arg.canConvert<DispatchRef>() ? QStringLiteral("obj") : arg.toString());
        m_log->append(QStringLiteral("%1.%2(%3)").arg(m_name).arg(id).arg(shown.join(u',')));
        const auto found = m_answers.constFind(id);
        return found == m_answers.constEnd() ? DispatchResult {} : (*found)(args);
    }
    DispatchResult put(int id, const QVariant &value) override
    {
        m_log->append(QStringLiteral("%1.%2:=%3").arg(m_name).arg(id).arg(value.toString()));
        return {};
    }

private:
    QString m_name;
    QStringList *m_log;
    QHash<int, Answer> m_answers;
};

std::shared_ptr<FakeObject> fake(const QString &name, QStringList *log)
{
    return std::make_shared<FakeObject>(name, log);
}

// Registers a class for the length of a test.
struct Registered {
    Registered(QString id, DispatchFactory factory)
        : m_id(std::move(id))
    {
        registerDispatchClass(m_id, std::move(factory));
    }
    ~Registered() { registerDispatchClass(m_id, {}); }
    QString m_id;
};

// A document with its layout, item source, file system and options objects.
struct FakeDocument {
    QStringList log;
    std::shared_ptr<FakeObject> doc = fake(QStringLiteral("doc"), &log);
    std::shared_ptr<FakeObject> layout = fake(QStringLiteral("layout"), &log);
    std::shared_ptr<FakeObject> fs = fake(QStringLiteral("fs"), &log);
    std::shared_ptr<FakeObject> options = fake(QStringLiteral("opts"), &log);
    std::shared_ptr<FakeObject> a = fake(QStringLiteral("a"), &log);
    std::shared_ptr<FakeObject> b = fake(QStringLiteral("b"), &log);
    std::shared_ptr<FakeObject> items = fake(QStringLiteral("items"), &log);

    FakeDocument(qint32 capacity, const QString &fileSystem)
    {
        doc->answer(26, dispatchValue(layout));
        doc->answer(4, capacity);
        doc->answer(28, dispatchValue(fs));
        doc->answer(32, dispatchValue(options));
        doc->answer(31, true);
        layout->answer(14, dispatchValue(items));
        layout->answer(15, qint32(1));
        layout->answer(12, true);
        items->answer(3, dispatchValue(fake(QStringLiteral("item"), &log)));
        fs->answer(2, fileSystem);
        options->answer(3, dispatchValue(a));
        options->answer(4, dispatchValue(b));
    }
};

TEST(EasyCdDispatchJob, CallsInOrderAndTheOptionComesBack)
{
    RecordingHost host;
    const auto settings = freshSettings();
    const QString key = CEasyCdDispatchJob::optionKeyPath();
    settings->writeString(SettingsRoot::User, key, CEasyCdDispatchJob::optionName(), "1");
    struct Case {
        const char *registeredAs;
        qint32 capacity;
        const char *fileSystem;
        int blocks;
        bool renamed;
    };
    for (const Case &c : { Case { "EasyCDCreator.document.3", 0, "JOLIET", 321750, false },
             Case { "EasyCDCreator.document.4", 4096000, "ISO9660", 2000, true } }) {
        FakeDocument document(c.capacity, QLatin1String(c.fileSystem));
        const Registered registered(
            QLatin1String(c.registeredAs), [&document] { return document.doc; });
        {
            CEasyCdDispatchJob job(*settings, {}, 77);
            ASSERT_EQ(job.open(), 1) << c.registeredAs;
            EXPECT_EQ(
                settings->readString(SettingsRoot::User, key, CEasyCdDispatchJob::optionName()),
                QStringLiteral("0"));
            EXPECT_EQ(job.capacityBlocks(), c.blocks);
            QStringList expected { "doc.26()", "doc.29(true)", "layout.14()", "doc.4()", "doc.28()",
                "fs.2()" };
            if (c.renamed)
                expected.append("fs.5(JOLIET)");
            expected += QStringList { "doc.32()", "opts.3()", "a.2:=false", "a.3:=false",
                "a.6:=false", "opts.4()", "b.1:=1", "b.4:=true", "doc.1:=77" };
            EXPECT_EQ(document.log, expected);

            document.log.clear();
            int raised = 0;
            const OwnerWindow owner = [&raised] { ++raised; };
            EXPECT_EQ(job.addFile(QStringLiteral("/w/AutoRun.inf"), owner), 1);
            EXPECT_TRUE(job.setDiscFolder(QStringLiteral("Album")));
            EXPECT_EQ(job.addFile(QStringLiteral("/w/AutoRun.inf"), owner), 1); // once only
            EXPECT_EQ(job.write(owner), 1);
            EXPECT_EQ(document.log,
                QStringList({ "doc.36()", "items.3(0)", "layout.15(/w/AutoRun.inf,true,obj)",
                    "doc.36()", "layout.12(Album)", "doc.36()", "doc.4()", "doc.31(obj)" }));
            EXPECT_EQ(raised, 2);
        }
        EXPECT_EQ(settings->readString(SettingsRoot::User, key, CEasyCdDispatchJob::optionName()),
            QStringLiteral("1"));
        EXPECT_TRUE(host.messageIds().isEmpty());
    }
}

TEST(EasyCdDispatchJob, FailuresShowTheirMessages)
{
    RecordingHost host;
    const auto settings = freshSettings();
    {
        CEasyCdDispatchJob job(*settings);
        EXPECT_EQ(job.open(), 0); // nothing registered: no message, the next kind is tried
    }
    EXPECT_TRUE(host.messageIds().isEmpty());

    FakeDocument document(-1, QStringLiteral("JOLIET"));
    const Registered registered(
        QStringLiteral("EasyCDCreator.document.4"), [&document] { return document.doc; });
    CEasyCdDispatchJob job(*settings);
    ASSERT_EQ(job.open(), 1);
    // A negative capacity before recording: 50494 and no recording call.
    EXPECT_EQ(job.write({}), 0);
    EXPECT_FALSE(document.log.contains(QStringLiteral("doc.31(obj)")));
    document.doc->answer(4, qint32(1000));
    document.doc->answer(31, [](const QVariantList &) {
        return DispatchResult::failure(-5, QStringLiteral("no disc"));
    });
    EXPECT_EQ(job.write({}), 0);
    document.layout->answer(15,
        [](const QVariantList &) { return DispatchResult::failure(-2, QStringLiteral("gone")); });
    EXPECT_EQ(job.addFile(QStringLiteral("/w/x.jpg"), {}), 0);
    EXPECT_EQ(host.messageIds(),
        QList<int>({ Message::kNoUsableDisc, Message::kCdApplicationError,
            Message::kCdApplicationFailed }));
    EXPECT_TRUE(host.shown().at(1).text.contains(QStringLiteral("-5")));
}

TEST(EasyCdEngineJob, OpensWalksDiscFoldersAndReportsFreeSpace)
{
    RecordingHost host;
    QStringList log;
    auto project = fake(QStringLiteral("project"), &log);
    auto layout = fake(QStringLiteral("layout"), &log);
    auto fs = fake(QStringLiteral("fs"), &log);
    // Folders: the root holds "Photos"; anything else is made on demand.
    std::function<std::shared_ptr<FakeObject>(const QString &)> folder;
    folder = [&](const QString &name) {
        auto object = fake(name, &log);
        object->answer(CEasyCdEngineJob::kFolderUsable, true);
        object->answer(CEasyCdEngineJob::kFolderFind, [&, name](const QVariantList &args) {
            return args.value(0).toString() == QLatin1String("Photos")
                    && name == QLatin1String("root")
                ? DispatchResult { dispatchValue(folder(QStringLiteral("Photos"))) }
                : DispatchResult {};
        });
        object->answer(CEasyCdEngineJob::kFolderCreate, [&](const QVariantList &args) {
            return DispatchResult { dispatchValue(folder(args.value(0).toString())) };
        });
        return object;
    };
    project->answer(16, dispatchValue(layout));
    project->answer(11, dispatchValue(fs));
    fs->answer(3, dispatchValue(folder(QStringLiteral("root"))));
    const Registered registered(CEasyCdEngineJob::engineClassId(), [&project] { return project; });

    CEasyCdEngineJob job({}, 9);
    ASSERT_EQ(job.open(), 1);
    EXPECT_EQ(log.mid(0, 8),
        QStringList({ "project.8()", "project.4(9)", "project.18(1,0,0)", "project.16()",
            "layout.36(0)", "project.11()", "fs.38(FileSystem.Joliet,,)", "fs.3()" }));

    log.clear();
    EXPECT_TRUE(job.setDiscFolder(QStringLiteral("\\")));
    EXPECT_TRUE(log.isEmpty()); // a single backslash stays at the root
    EXPECT_TRUE(job.setDiscFolder(QStringLiteral("Photos\\New")));
    EXPECT_EQ(log, QStringList({ "root.7(Photos)", "Photos.7(New)", "Photos.9(New)" }));

    // No item back from the folder: 50493 and 2.
    EXPECT_EQ(job.addFile(QStringLiteral("/w/a.jpg"), {}), 2);
    EXPECT_EQ(host.messageIds(), QList<int>({ Message::kCdApplicationFailed }));

    EXPECT_EQ(job.freeSpace(), -1); // no disc object
    auto disc = fake(QStringLiteral("disc"), &log);
    auto medium = fake(QStringLiteral("medium"), &log);
    project->answer(5, dispatchValue(disc));
    disc->answer(12, dispatchValue(medium));
    for (const auto &[blocks, expected] : { std::pair { 0, -1 }, std::pair { 1000, 2048 } }) {
        medium->answer(23, blocks);
        EXPECT_EQ(job.freeSpace(), expected) << blocks;
    }
}

} // namespace
