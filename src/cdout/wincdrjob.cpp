#include "wincdrjob.h"

#include "platform/settingsstore.h"
#include "publish/productfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace glimmerix::wincdr
{

namespace
{

QString programFolder(const SettingsStore &settings)
{
    return settings.readString(SettingsRoot::User, keyPath(), QStringLiteral("program"), 260)
        .value_or(QString());
}

bool notEmpty(const SettingsStore &settings, const QString &name)
{
    const std::optional<QString> value
        = settings.readString(SettingsRoot::User, keyPath(), name, 260);
    return value && !value->isEmpty();
}

} // namespace

QString keyPath()
{
    return QStringLiteral("Software\\Aplix\\WinCDR\\CDWriter");
}

bool isAvailable(const SettingsStore &settings)
{
    return notEmpty(settings, QStringLiteral("EXE"))
        && notEmpty(settings, QStringLiteral("WorkDirectory"));
}

QString transferFolder(const SettingsStore &settings)
{
    const QString p = programFolder(settings);
    if (p.isEmpty())
        return {};
    const QString folder = p + QStringLiteral("/Temp");
    QDir().mkpath(folder);
    return folder + u'/';
}

QString listFile(const SettingsStore &settings, const QString &projectName)
{
    return programFolder(settings) + u'/' + projectName + QStringLiteral(".log");
}

int clearTransferFolder(const SettingsStore &settings)
{
    const QString folder = transferFolder(settings);
    if (folder.isEmpty())
        return 0;
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        QFile file(dir.filePath(name));
        file.setPermissions(file.permissions() | QFile::WriteOwner);
        file.remove();
    }
    return 1;
}

int beginJob(const SettingsStore &settings, const QString &projectName)
{
    const QString folder = transferFolder(settings);
    if (folder.isEmpty() || projectName.isEmpty())
        return 0;
    const QByteArray program = projectName.toLocal8Bit() + ".EXE";
    const QByteArray autoRun = "[AutoRun]\r\nopen=" + program + "\r\nicon=" + program + "\r\n";
    if (!writeWholeFile(folder + QStringLiteral("AutoRun.inf"), autoRun).isEmpty())
        return 0;
    const QString list = listFile(settings, projectName);
    QFile::remove(list);
    return writeWholeFile(list, {}).isEmpty() ? 1 : 0;
}

int addFile(const SettingsStore &settings, const QString &path, const QString &projectName)
{
    const QString folder = transferFolder(settings);
    if (folder.isEmpty() || projectName.isEmpty())
        return 0;
    const QString name = fileNameOf(path);
    QFile list(listFile(settings, projectName));
    if (!list.open(QIODevice::Append))
        return 0;
    const QByteArray line = (folder + name).toLocal8Bit() + "\r\n";
    const bool written = list.write(line) == line.size() && list.flush();
    list.close();
    if (!written)
        return 0;
    // The list line counts; a failed copy is not reported. A file already in place stays.
    if (QFileInfo(path).absoluteFilePath() != QFileInfo(folder + name).absoluteFilePath())
        copyProductFile(path, folder + name);
    return 1;
}

LaunchCommand command(const QString &programFolder, const QString &projectName)
{
    return { programFolder + QStringLiteral("/wincdr.exe"),
        { QStringLiteral("/add-on"), projectName + QStringLiteral(".log"), programFolder },
        programFolder };
}

int run(const SettingsStore &settings, const QString &projectName)
{
    const QString p = programFolder(settings);
    if (projectName.isEmpty() || p.isEmpty())
        return 0;
    return programStarter().start(command(p, projectName), nullptr) ? 1 : 0;
}

} // namespace glimmerix::wincdr
