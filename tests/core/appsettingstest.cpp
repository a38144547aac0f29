#include "core/appsettings.h"

#include "core/messageids.h"
#include "platform/strings.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

QString product()
{
    return productKeyPath();
}

QString sub(const QString &name)
{
    return productKeyPath() + u'\\' + name;
}

// Settings over scratch files and folders; each test starts from nothing.
class AppSettingsTest : public ::testing::Test
{
protected:
    AppSettingsTest()
    {
        m_root = makeTestFolder(QStringLiteral("app"));
        m_files.user = m_root + QStringLiteral("/config/user.reg");
        m_files.machine = m_root + QStringLiteral("/config/machine.reg");
        m_folders
            = Folders(m_root + QStringLiteral("/resources"), m_root + QStringLiteral("/home"));
    }

    // A program file that exists.
    QString program(const QString &name)
    {
        const QString path = m_root + QStringLiteral("/bin/") + name;
        QDir().mkpath(QFileInfo(path).absolutePath());
        writeFile(path, "#!/bin/sh\n");
        return path;
    }

    void addApp(SettingsStore &store, SettingsRoot root, int index, const QString &path,
        const std::optional<QString> &label)
    {
        const QString key = sub(QStringLiteral("App%1").arg(index));
        store.writeString(root, key, QStringLiteral("AppPathName"), path);
        if (label)
            store.writeString(root, key, QStringLiteral("AppLabel"), *label);
    }

    QString m_root;
    SettingsFiles m_files;
    Folders m_folders;
};

} // namespace

TEST_F(AppSettingsTest, DefaultsWhenNothingIsStored)
{
    SettingsStore store(m_files);
    AppSettings settings(store, m_folders);
    settings.load();
    const QString photos = m_folders.photosFolder();
    EXPECT_EQ(settings.lastFile(), QString());
    EXPECT_EQ(settings.onlineService().site, QStringLiteral("photos.glimmerix.example"));
    EXPECT_EQ(settings.onlineService().getServer, QStringLiteral("/servlet/com.api.GetServer"));
    EXPECT_EQ(settings.onlineService().upload, QStringLiteral("/servlet/Upload"));
    EXPECT_EQ(settings.onlineService().download, QStringLiteral("/servlet/com.api.ImageList"));
    EXPECT_EQ(settings.addPhotoPath(), photos);
    EXPECT_EQ(settings.acquireSettings(), (AcquireSettings { photos, {}, {}, 4, 0 }));
    EXPECT_TRUE(settings.externalApps().isEmpty());
    EXPECT_EQ(settings.cdTemplateFolder(), QString());
    EXPECT_EQ(settings.systemLanguage(), systemLanguageName());
    // Start makes the key paths and the folders.
    EXPECT_TRUE(store.keyExists(SettingsRoot::Machine, preferenceKeyPath()));
    EXPECT_TRUE(store.keyExists(SettingsRoot::User, product()));
    EXPECT_TRUE(QFileInfo(photos).isDir());
}

TEST_F(AppSettingsTest, ReadsStoredValuesWithTheirLimits)
{
    {
        SettingsStore store(m_files);
        SettingsBatch machine(store, SettingsRoot::Machine);
        const QString preference = preferenceKeyPath();
        store.writeString(SettingsRoot::Machine, preference, QStringLiteral("LastFile"),
            QStringLiteral("/albums/Trip.gmx"));
        store.writeString(
            SettingsRoot::Machine, preference, QStringLiteral("ZoSite"), QString(200, u's'));
        store.writeNumber(SettingsRoot::Machine, preference, QStringLiteral("ZoUpload"), 5);
        store.writeString(SettingsRoot::Machine, templateInfoKeyPath(), QStringLiteral("CDDrive"),
            QStringLiteral("/media/cdrom/"));
        machine.commit();
        SettingsBatch user(store, SettingsRoot::User);
        store.writeString(SettingsRoot::User, product(), QStringLiteral("AddPhotoPath"),
            QStringLiteral("/pictures/in"));
        store.writeString(SettingsRoot::User, product(), QStringLiteral("AcquirePath"),
            QStringLiteral("/pictures/scans"));
        store.writeString(SettingsRoot::User, product(), QStringLiteral("AcquireFilePrefix"),
            QStringLiteral("scan"));
        store.writeString(SettingsRoot::User, product(), QStringLiteral("AcquireSource"),
            QStringLiteral("test:0"));
        store.writeNumber(SettingsRoot::User, product(), QStringLiteral("AcquireFileType"), 1);
        // A number kept as text is the wrong type and reads as missing.
        store.writeString(SettingsRoot::User, product(), QStringLiteral("AcquireCustPrefix"),
            QStringLiteral("1"));
    }
    SettingsStore store(m_files);
    AppSettings settings(store, m_folders);
    settings.load();
    EXPECT_EQ(settings.lastFile(), QStringLiteral("/albums/Trip.gmx"));
    EXPECT_EQ(settings.onlineService().site, QString(127, u's'));
    EXPECT_EQ(settings.onlineService().upload, QStringLiteral("/servlet/Upload"));
    EXPECT_EQ(settings.addPhotoPath(), QStringLiteral("/pictures/in"));
    EXPECT_EQ(settings.acquireSettings(),
        (AcquireSettings { QStringLiteral("/pictures/scans"), QStringLiteral("scan"),
            QStringLiteral("test:0"), 1, 0 }));
    EXPECT_FALSE(settings.templateDirSet());
    EXPECT_EQ(settings.cdTemplateFolder(), QStringLiteral("/media/cdrom/Template"));
}

TEST_F(AppSettingsTest, EmptyOrOverlongFoldersFallBackToThePhotosFolder)
{
    {
        SettingsStore store(m_files);
        store.writeString(SettingsRoot::User, product(), QStringLiteral("AddPhotoPath"), QString());
        store.writeString(SettingsRoot::User, product(), QStringLiteral("AcquirePath"),
            QLatin1Char('/') + QString(259, u'p'));
        store.writeString(SettingsRoot::Machine, preferenceKeyPath(), QStringLiteral("LastFile"),
            QLatin1Char('/') + QString(300, u'l'));
    }
    SettingsStore store(m_files);
    AppSettings settings(store, m_folders);
    settings.load();
    EXPECT_EQ(settings.addPhotoPath(), m_folders.photosFolder());
    EXPECT_EQ(settings.acquireSettings().path, m_folders.photosFolder());
    EXPECT_EQ(settings.lastFile(), QString());
}

TEST_F(AppSettingsTest, ExternalListReadsMachineThenUserSkippingMissingAndDuplicates)
{
    const QString editor = program(QStringLiteral("editor"));
    const QString viewer = program(QStringLiteral("view.er.sh"));
    const QString mailer = program(QStringLiteral("mailer"));
    {
        SettingsStore store(m_files);
        addApp(store, SettingsRoot::Machine, 1, editor, QStringLiteral("Edit"));
        addApp(store, SettingsRoot::Machine, 2, m_root + QStringLiteral("/bin/deleted"),
            QStringLiteral("Gone"));
        addApp(store, SettingsRoot::Machine, 3, viewer, std::nullopt);
        addApp(store, SettingsRoot::User, 1, editor, QStringLiteral("Edit again"));
        addApp(store, SettingsRoot::User, 2, editor.toUpper(), QStringLiteral("Other case"));
        addApp(store, SettingsRoot::User, 3, mailer, QString(40, u'm'));
        addApp(
            store, SettingsRoot::User, 5, program(QStringLiteral("beyond")), QStringLiteral("Gap"));
    }
    SettingsStore store(m_files);
    AppSettings settings(store, m_folders);
    settings.load();
    // Paths compare exactly: the upper-case spelling names a file that does not exist.
    const QList<ExternalApp> expected = {
        { editor, QStringLiteral("Edit") },
        { viewer, QStringLiteral("view.er") },
        { mailer, QString(29, u'm') },
    };
    EXPECT_EQ(settings.externalApps(), expected);
}

TEST_F(AppSettingsTest, ExitWritesTheWholeListAndDropsProgramsThatWereDeleted)
{
    const QString editor = program(QStringLiteral("editor"));
    const QString doomed = program(QStringLiteral("doomed"));
    const QString viewer = program(QStringLiteral("viewer"));
    {
        SettingsStore store(m_files);
        addApp(store, SettingsRoot::Machine, 1, editor, QStringLiteral("Edit"));
        addApp(store, SettingsRoot::User, 1, doomed, QStringLiteral("Doomed"));
        addApp(store, SettingsRoot::User, 2, viewer, QString());
        // An old entry behind a gap must not come back when the new list closes the gap.
        addApp(store, SettingsRoot::User, 4, program(QStringLiteral("ghost")),
            QStringLiteral("Ghost"));
    }
    QFile::remove(doomed);
    {
        SettingsStore store(m_files);
        AppSettings settings(store, m_folders);
        settings.load();
        EXPECT_TRUE(settings.saveOnExit());
    }
    SettingsStore store(m_files);
    const SettingsKey user = store.openKey(SettingsRoot::User, product());
    EXPECT_EQ(user.numberedSubkeys(QStringLiteral("App")),
        (QStringList { QStringLiteral("App1"), QStringLiteral("App2") }));
    EXPECT_FALSE(user.hasSubkey(QStringLiteral("App4")));
    EXPECT_EQ(store.readString(
                  SettingsRoot::User, sub(QStringLiteral("App1")), QStringLiteral("AppPathName")),
        editor);
    EXPECT_EQ(store.readString(
                  SettingsRoot::User, sub(QStringLiteral("App2")), QStringLiteral("AppPathName")),
        viewer);
    // An empty label is kept as the user left it.
    EXPECT_EQ(store.readString(
                  SettingsRoot::User, sub(QStringLiteral("App2")), QStringLiteral("AppLabel")),
        QString());
    // The machine's list is read, never written.
    EXPECT_EQ(
        store.openKey(SettingsRoot::Machine, product()).numberedSubkeys(QStringLiteral("App")),
        QStringList { QStringLiteral("App1") });
}

TEST_F(AppSettingsTest, ExitWritesAcquireSettingsAndAddPhotoPath)
{
    {
        SettingsStore store(m_files);
        AppSettings settings(store, m_folders);
        settings.load();
        EXPECT_TRUE(settings.setAddPhotoPath(QStringLiteral("/pictures/new")));
        EXPECT_FALSE(settings.setAddPhotoPath(QLatin1Char('/') + QString(259, u'x')));
        const AcquireSettings acquire { QStringLiteral("/scans"), QStringLiteral("img"),
            QStringLiteral("test:1"), 2, 1 };
        EXPECT_TRUE(settings.setAcquireSettings(acquire));
        AcquireSettings tooLong = acquire;
        tooLong.path = QLatin1Char('/') + QString(259, u'y');
        EXPECT_FALSE(settings.setAcquireSettings(tooLong));
        EXPECT_EQ(settings.acquireSettings(), acquire);
        EXPECT_TRUE(settings.saveOnExit());
    }
    SettingsStore store(m_files);
    AppSettings settings(store, m_folders);
    settings.load();
    EXPECT_EQ(settings.addPhotoPath(), QStringLiteral("/pictures/new"));
    EXPECT_EQ(settings.acquireSettings(),
        (AcquireSettings {
            QStringLiteral("/scans"), QStringLiteral("img"), QStringLiteral("test:1"), 2, 1 }));
    EXPECT_EQ(
        store.readNumber(SettingsRoot::User, product(), QStringLiteral("AcquireFileType")), 2u);
}

TEST_F(AppSettingsTest, LastFileIsWrittenAtOnceAndOverlongPathsAreRefused)
{
    SettingsStore store(m_files);
    AppSettings settings(store, m_folders);
    settings.load();
    const QString album = QStringLiteral("/home/ann/Glimmerix/ALBUMS/Köln.gmx");
    EXPECT_TRUE(settings.setLastFile(album));
    EXPECT_FALSE(settings.setLastFile(QLatin1Char('/') + QString(259, u'z')));
    EXPECT_EQ(settings.lastFile(), album);
    SettingsStore reread(m_files);
    EXPECT_EQ(
        reread.readString(SettingsRoot::Machine, preferenceKeyPath(), QStringLiteral("LastFile")),
        album);
    EXPECT_TRUE(settings.setLastFile(QString()));
    EXPECT_EQ(SettingsStore(m_files).readString(
                  SettingsRoot::Machine, preferenceKeyPath(), QStringLiteral("LastFile")),
        QString());
}

TEST_F(AppSettingsTest, FieldLabelsAreCreatedWhenMissingAndReplacedOnlyByNonEmptyTexts)
{
    const QString caption = loadString(Message::kDefaultCaptionLabel);
    const QString keywords = loadString(Message::kDefaultKeywordsLabel);
    const QString description = loadString(Message::kDefaultDescriptionLabel);
    if (caption.isEmpty() || keywords.isEmpty() || description.isEmpty())
        GTEST_SKIP() << "the bundle has no default field labels";
    const auto stored = [&](int field) {
        return SettingsStore(m_files).readString(
            SettingsRoot::User, sub(QStringLiteral("Field%1").arg(field)), QString());
    };
    {
        SettingsStore store(m_files);
        store.writeString(
            SettingsRoot::User, sub(QStringLiteral("Field2")), QString(), QStringLiteral("Tags"));
        store.writeNumber(SettingsRoot::User, sub(QStringLiteral("Field3")), QString(), 7);
    }
    SettingsStore store(m_files);
    AppSettings settings(store, m_folders);
    settings.load();
    EXPECT_EQ(settings.fieldLabel(ItemField::Caption), caption);
    EXPECT_EQ(settings.fieldLabel(ItemField::Keywords), QStringLiteral("Tags"));
    EXPECT_EQ(settings.fieldLabel(ItemField::Description), description);
    EXPECT_EQ(stored(1), caption);
    EXPECT_EQ(stored(2), QStringLiteral("Tags"));
    EXPECT_EQ(stored(3), description);

    EXPECT_TRUE(settings.setFieldLabels(QStringLiteral("Title"), QString(), QString(40, u'd')));
    EXPECT_EQ(settings.fieldLabel(ItemField::Caption), QStringLiteral("Title"));
    EXPECT_EQ(settings.fieldLabel(ItemField::Keywords), QStringLiteral("Tags"));
    EXPECT_EQ(settings.fieldLabel(ItemField::Description), QString(29, u'd'));
    EXPECT_EQ(stored(1), QStringLiteral("Title"));
    EXPECT_EQ(stored(2), QStringLiteral("Tags"));
    EXPECT_EQ(stored(3), QString(29, u'd'));
}

TEST_F(AppSettingsTest, UnwritableSettingsLeaveDefaultsSilently)
{
    const QString blocker = m_root + QStringLiteral("/plainfile");
    writeFile(blocker, "x");
    m_files.user = blocker + QStringLiteral("/user.reg");
    m_files.machine = blocker + QStringLiteral("/machine.reg");
    SettingsStore store(m_files);
    AppSettings settings(store, m_folders);
    settings.load();
    EXPECT_EQ(settings.onlineService().site, QStringLiteral("photos.glimmerix.example"));
    EXPECT_EQ(settings.fieldLabel(ItemField::Caption), loadString(Message::kDefaultCaptionLabel));
    EXPECT_FALSE(settings.setLastFile(QStringLiteral("/a.gmx")));
    EXPECT_FALSE(settings.saveOnExit());
}

TEST_F(AppSettingsTest, ExternalListRefusesEntriesItCannotStore)
{
    SettingsStore store(m_files);
    AppSettings settings(store, m_folders);
    const QList<ExternalApp> good = { { QStringLiteral("/bin/a"), QString(35, u'l') },
        { QStringLiteral("/bin/b"), QStringLiteral("B") } };
    EXPECT_TRUE(settings.setExternalApps(good));
    EXPECT_EQ(settings.externalApps().first().label, QString(29, u'l'));
    const QList<QList<ExternalApp>> bad = {
        { { QString(), QStringLiteral("empty") } },
        { { QLatin1Char('/') + QString(259, u'a'), QStringLiteral("long") } },
        { { QStringLiteral("/bin/a"), {} }, { QStringLiteral("/bin/a"), {} } },
    };
    for (const QList<ExternalApp> &apps : bad)
        EXPECT_FALSE(settings.setExternalApps(apps));
    EXPECT_EQ(settings.externalApps().size(), 2);
}
