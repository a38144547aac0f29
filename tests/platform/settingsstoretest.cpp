#include "platform/settingsstore.h"

#include "support/testenvironment.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

const QString kKey = QStringLiteral("SOFTWARE\\Orvanta\\Glimmerix\\2.0");

class SettingsStoreTest : public ::testing::Test
{
protected:
    SettingsStoreTest()
    {
        const QString folder = makeTestFolder(QStringLiteral("store"));
        m_files.user = folder + QStringLiteral("/user.reg");
        m_files.machine = folder + QStringLiteral("/machine.reg");
        m_files.machineDefaults << folder + QStringLiteral("/admin.reg")
                                << folder + QStringLiteral("/shipped.reg");
    }
    SettingsFiles m_files;
};

} // namespace

TEST_F(SettingsStoreTest, ValuesSurviveAReloadAndKeepTheirType)
{
    {
        SettingsStore store(m_files);
        EXPECT_TRUE(store.writeString(
            SettingsRoot::User, kKey, QStringLiteral("Text"), QStringLiteral("Fotos von Köln")));
        EXPECT_TRUE(store.writeNumber(SettingsRoot::User, kKey, QStringLiteral("Number"), 4));
        EXPECT_FALSE(store.writeNumber(
            SettingsRoot::User, QStringLiteral("A\\\\B"), QStringLiteral("x"), 1));
    }
    // Kept private: the file may hold account details.
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup
        | QFileDevice::ReadOther | QFileDevice::WriteOther;
    EXPECT_FALSE(QFile::permissions(m_files.user) & others);
    const SettingsStore store(m_files);
    const QString lowerKey = kKey.toLower();
    EXPECT_EQ(store.readString(SettingsRoot::User, lowerKey, QStringLiteral("text")),
        QStringLiteral("Fotos von Köln"));
    // "Fotos von K" is 11 bytes; the two-byte "ö" does not fit a 12-byte limit.
    EXPECT_EQ(store.readString(SettingsRoot::User, kKey, QStringLiteral("Text"), 12),
        QStringLiteral("Fotos von K"));
    EXPECT_EQ(store.readNumber(SettingsRoot::User, kKey, QStringLiteral("Number")), 4u);
    // A value of the other type reads like a missing one.
    EXPECT_FALSE(store.readNumber(SettingsRoot::User, kKey, QStringLiteral("Text")));
    EXPECT_FALSE(store.readString(SettingsRoot::User, kKey, QStringLiteral("Number")));
    // The roots are separate.
    EXPECT_FALSE(store.readString(SettingsRoot::Machine, kKey, QStringLiteral("Text")));
    EXPECT_FALSE(QFile::exists(m_files.machine));
}

TEST_F(SettingsStoreTest, MachineRootReadsThroughAdministratorFilesAndWritesPerUser)
{
    writeFile(m_files.machineDefaults[0],
        "[SOFTWARE\\Orvanta\\Glimmerix\\2.0\\Preference]\n\"ZoSite\"=sz:admin.example\n"
        "[SOFTWARE\\Orvanta\\Glimmerix\\2.0\\App1]\n\"AppPathName\"=sz:/bin/admin\n");
    writeFile(m_files.machineDefaults[1],
        "[SOFTWARE\\Orvanta\\Glimmerix\\2.0\\Preference]\n\"ZoSite\"=sz:shipped.example\n"
        "\"ZoUpload\"=sz:/shipped/upload\n");
    const QByteArray adminBefore = fileBytes(m_files.machineDefaults[0]);
    const QString preference = kKey + QStringLiteral("\\Preference");

    SettingsStore store(m_files);
    EXPECT_EQ(store.readString(SettingsRoot::Machine, preference, QStringLiteral("ZoSite")),
        QStringLiteral("admin.example"));
    EXPECT_EQ(store.readString(SettingsRoot::Machine, preference, QStringLiteral("ZoUpload")),
        QStringLiteral("/shipped/upload"));
    EXPECT_FALSE(store.keyExists(SettingsRoot::User, preference));

    EXPECT_TRUE(store.writeString(SettingsRoot::Machine, preference, QStringLiteral("ZoSite"),
        QStringLiteral("mine.example")));
    EXPECT_TRUE(store.writeString(SettingsRoot::Machine, kKey + QStringLiteral("\\App2"),
        QStringLiteral("AppPathName"), QStringLiteral("/bin/mine")));
    EXPECT_EQ(fileBytes(m_files.machineDefaults[0]), adminBefore);
    const SettingsStore reloaded(m_files);
    EXPECT_EQ(reloaded.readString(SettingsRoot::Machine, preference, QStringLiteral("ZoSite")),
        QStringLiteral("mine.example"));
    const SettingsKey product = store.openKey(SettingsRoot::Machine, kKey);
    EXPECT_EQ(product.numberedSubkeys(QStringLiteral("App")),
        (QStringList { QStringLiteral("App1"), QStringLiteral("App2") }));

    // Deleting touches the per-user file only; the administrator's key stays visible.
    EXPECT_TRUE(store.deleteKey(SettingsRoot::Machine, kKey + QStringLiteral("\\App2")));
    EXPECT_FALSE(store.deleteKey(SettingsRoot::Machine, kKey + QStringLiteral("\\App1")));
    EXPECT_TRUE(store.keyExists(SettingsRoot::Machine, kKey + QStringLiteral("\\App1")));
    EXPECT_FALSE(store.keyExists(SettingsRoot::Machine, kKey + QStringLiteral("\\App2")));
}

TEST_F(SettingsStoreTest, GarbledFileGivesWhatParsesAndIsKeptAsideBeforeRewriting)
{
    const QByteArray garbled = "[SOFTWARE\\Orvanta\\Glimmerix\\2.0]\n"
                               "\"AcquireFileType\"=dword:2\n"
                               "\x01\xFF\xFE garbage \"=\n"
                               "\"AcquirePath\"=sz:\"/unterminated\n"
                               "\"AcquireSource\"=sz:\"Scanner\"\n";
    writeFile(m_files.user, garbled);
    SettingsStore store(m_files);
    EXPECT_EQ(store.parseErrors().size(), 2);
    EXPECT_EQ(store.readNumber(SettingsRoot::User, kKey, QStringLiteral("AcquireFileType")), 2u);
    EXPECT_EQ(store.readString(SettingsRoot::User, kKey, QStringLiteral("AcquireSource")),
        QStringLiteral("Scanner"));
    EXPECT_FALSE(store.readString(SettingsRoot::User, kKey, QStringLiteral("AcquirePath")));

    EXPECT_TRUE(
        store.writeNumber(SettingsRoot::User, kKey, QStringLiteral("AcquireCustPrefix"), 1));
    EXPECT_EQ(fileBytes(m_files.user + QStringLiteral(".bad")), garbled);
    const SettingsStore reloaded(m_files);
    EXPECT_TRUE(reloaded.parseErrors().isEmpty());
    EXPECT_EQ(reloaded.readString(SettingsRoot::User, kKey, QStringLiteral("AcquireSource")),
        QStringLiteral("Scanner"));
}

TEST_F(SettingsStoreTest, FileThatCannotBeReadIsNeverReplaced)
{
    // Far larger than any settings file: read as empty, and left alone.
    const QByteArray huge(5 * 1024 * 1024, 'x');
    writeFile(m_files.user, huge);
    SettingsStore store(m_files);
    EXPECT_FALSE(store.parseErrors().isEmpty());
    EXPECT_FALSE(
        store.writeString(SettingsRoot::User, kKey, QStringLiteral("x"), QStringLiteral("y")));
    EXPECT_FALSE(store.openKey(SettingsRoot::User, kKey, SettingsStore::Open::Create).isOpen());
    EXPECT_EQ(fileBytes(m_files.user).size(), huge.size());
}

TEST_F(SettingsStoreTest, KeyThatCannotBeMadeStaysClosedAndReadsNothing)
{
    // The settings folder would have to be made inside a plain file.
    const QString blocker = makeTestFolder(QStringLiteral("blocked")) + QStringLiteral("/file");
    writeFile(blocker, "not a folder");
    m_files.user = blocker + QStringLiteral("/user.reg");
    SettingsStore store(m_files);
    SettingsKey key = store.openKey(SettingsRoot::User, kKey, SettingsStore::Open::Create);
    EXPECT_FALSE(key.isOpen());
    EXPECT_FALSE(key.readString(QStringLiteral("x")));
    EXPECT_FALSE(key.writeString(QStringLiteral("x"), QStringLiteral("y")));
    EXPECT_FALSE(key.openSubkey(QStringLiteral("Field1"), SettingsStore::Open::Create).isOpen());
    EXPECT_FALSE(
        store
            .openKey(SettingsRoot::User, QStringLiteral("Bad\\\\Path"), SettingsStore::Open::Create)
            .isOpen());
}

TEST_F(SettingsStoreTest, ChangesReReadTheFileSoTwoInstancesKeepEachOthersValues)
{
    SettingsStore first(m_files);
    SettingsStore second(m_files);
    EXPECT_TRUE(
        first.writeString(SettingsRoot::User, kKey, QStringLiteral("A"), QStringLiteral("1")));
    EXPECT_TRUE(
        second.writeString(SettingsRoot::User, kKey, QStringLiteral("B"), QStringLiteral("2")));
    const SettingsStore third(m_files);
    EXPECT_EQ(third.readString(SettingsRoot::User, kKey, QStringLiteral("A")), QStringLiteral("1"));
    EXPECT_EQ(third.readString(SettingsRoot::User, kKey, QStringLiteral("B")), QStringLiteral("2"));
}

TEST_F(SettingsStoreTest, BatchSavesOnceAtCommit)
{
    SettingsStore store(m_files);
    SettingsBatch batch(store, SettingsRoot::User);
    EXPECT_TRUE(
        store.writeString(SettingsRoot::User, kKey, QStringLiteral("A"), QStringLiteral("1")));
    {
        SettingsBatch inner(store, SettingsRoot::User);
        EXPECT_TRUE(store.writeNumber(SettingsRoot::User, kKey, QStringLiteral("B"), 2));
        EXPECT_TRUE(inner.commit());
    }
    EXPECT_FALSE(QFile::exists(m_files.user));
    EXPECT_TRUE(batch.commit());
    const SettingsStore reloaded(m_files);
    EXPECT_EQ(reloaded.readNumber(SettingsRoot::User, kKey, QStringLiteral("B")), 2u);
}

TEST_F(SettingsStoreTest, AWriteWaitsForAnotherWriterHoldingTheFile)
{
    // Another process in the middle of a change holds the file's lock.
    QLockFile other(m_files.user + QStringLiteral(".lock"));
    ASSERT_TRUE(other.tryLock(0));
    SettingsStore store(m_files);
    QElapsedTimer waited;
    waited.start();
    EXPECT_TRUE(
        store.writeString(SettingsRoot::User, kKey, QStringLiteral("A"), QStringLiteral("1")));
    // It waits its bounded time for the lock before going ahead alone.
    EXPECT_GE(waited.elapsed(), 1500);
    other.unlock();
    waited.restart();
    EXPECT_TRUE(
        store.writeString(SettingsRoot::User, kKey, QStringLiteral("B"), QStringLiteral("2")));
    EXPECT_LT(waited.elapsed(), 1500);
}
