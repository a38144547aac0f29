#include "core/folders.h"

#include "platform/paths.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

// Points GLIMMERIX_HOME somewhere else for the length of a test.
class HomeOverride
{
public:
    explicit HomeOverride(const QString &home)
        : m_saved(qgetenv("GLIMMERIX_HOME"))
    {
        qputenv("GLIMMERIX_HOME", home.toUtf8());
    }
    ~HomeOverride() { qputenv("GLIMMERIX_HOME", m_saved); }

private:
    QByteArray m_saved;
};

} // namespace

TEST(Folders, DerivedFromTheUserFolderAndMadeWhenMissing)
{
    const QString home = makeTestFolder(QStringLiteral("portable")) + QStringLiteral("/Glimmerix/");
    HomeOverride override(home);
    const Folders folders;
    const QString user = QDir::cleanPath(home);
    EXPECT_EQ(folders.userFolder(), user);
    EXPECT_EQ(folders.resourceFolder(), resourceFolder());
    const std::pair<QString, QString> made[] = {
        { folders.albumsFolder(), QStringLiteral("ALBUMS") },
        { folders.photosFolder(), QStringLiteral("PHOTOS") },
        { folders.audioFolder(), QStringLiteral("AUDIO") },
        { folders.videoFolder(), QStringLiteral("VIDEO") },
        { folders.templateFolder(), QStringLiteral("TEMPLATE") },
        { folders.slideShowFolder(), QStringLiteral("SlideShow") },
        { folders.webAlbumFolder(), QStringLiteral("WebAlbum") },
        { folders.videoCardFolder(), QStringLiteral("VideoCard") },
    };
    EXPECT_FALSE(QFileInfo::exists(user));
    folders.makeMissing();
    for (const auto &[path, name] : made) {
        EXPECT_EQ(path, user + u'/' + name);
        EXPECT_TRUE(QFileInfo(path).isDir()) << name.toStdString();
    }
    EXPECT_EQ(folders.supportFolder(), resourceFolder() + QStringLiteral("/SUPPORT"));
    EXPECT_EQ(folders.localTemplateFolder(), resourceFolder() + QStringLiteral("/Template"));
}

TEST(Folders, ResourceFoldersAreNeverMade)
{
    const QString root = makeTestFolder(QStringLiteral("folders"));
    const Folders folders(root + QStringLiteral("/res"), root + QStringLiteral("/user"));
    folders.makeMissing();
    EXPECT_FALSE(QFileInfo::exists(folders.supportFolder()));
    EXPECT_FALSE(QFileInfo::exists(folders.localTemplateFolder()));
    EXPECT_TRUE(QFileInfo(folders.albumsFolder()).isDir());
}

TEST(Folders, CdTemplateFolder)
{
    struct Case {
        const char *drive;
        const char *dir;
        bool dirSet;
        const char *expected;
    };
    const Case cases[] = {
        { "", "Anything", true, "" },
        { "/media/cdrom", "", false, "/media/cdrom/Template" },
        { "/media/cdrom/", "", false, "/media/cdrom/Template" },
        { "/media/cdrom", "Themes/Web", true, "/media/cdrom/Themes/Web" },
        { "/media/cdrom", "/Themes/", true, "/media/cdrom/Themes" },
        { "/media/cdrom", "", true, "/media/cdrom" },
    };
    for (const Case &c : cases) {
        EXPECT_EQ(cdTemplateFolder(QString::fromUtf8(c.drive), QString::fromUtf8(c.dir), c.dirSet),
            QString::fromUtf8(c.expected))
            << c.drive << " + " << c.dir;
    }
}
