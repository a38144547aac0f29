#include "testenvironment.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{

QTemporaryDir &rootDir()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/glimmerix-test-XXXXXX"));
    return dir;
}

} // namespace

void setUpTestEnvironment()
{
    const QString root = rootDir().path();
    const QString home = root + QStringLiteral("/home");
    const QString runtime = root + QStringLiteral("/run");
    QDir().mkpath(home);
    QDir().mkpath(runtime);
    QFile::setPermissions(
        runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("HOME", home.toUtf8());
    qputenv("GLIMMERIX_HOME", (home + QStringLiteral("/Glimmerix")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (home + QStringLiteral("/.config")).toUtf8());
    // Files the program deletes for the user go to the Trash under here.
    qputenv("XDG_DATA_HOME", (home + QStringLiteral("/.local/share")).toUtf8());
    qputenv("XDG_RUNTIME_DIR", runtime.toUtf8());
    qputenv("GLIMMERIX_RESOURCES", QByteArray(GLIMMERIX_BIN_DIR));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

QString testRoot()
{
    return rootDir().path();
}

QString makeTestFolder(const QString &hint)
{
    static int counter = 0;
    const QString path = QStringLiteral("%1/%2-%3").arg(testRoot(), hint).arg(++counter);
    QDir().mkpath(path);
    return path;
}

QString fixturePath(const QString &relativePath)
{
    return QStringLiteral(GLIMMERIX_SOURCE_DIR "/tests/fixtures/") + relativePath;
}

QString programFolder()
{
    return QStringLiteral(GLIMMERIX_BIN_DIR);
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size()) << path.toStdString();
}

void saveScreenshotWhenAsked(QWidget &widget, const QString &fileName)
{
    const QString folder = qEnvironmentVariable("GLIMMERIX_SCREENSHOTS");
    if (folder.isEmpty())
        return;
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    ASSERT_TRUE(widget.grab().save(QDir(folder).filePath(fileName)));
}

QString makeTestPicture(const QString &folder, const QString &name, QColor colour, QSize size)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    const QString path = folder + u'/' + name;
    EXPECT_TRUE(picture.save(path)) << path.toStdString();
    return path;
}
