#include "winoncdjob.h"

#include "cdjob.h"

#include "platform/fillin.h"
#include "platform/paths.h"
#include "platform/programstarter.h"
#include "platform/settingsstore.h"
#include "publish/productfiles.h"

#include <QDir>
#include <QFileInfo>

namespace glimmerix::winoncd
{

namespace
{

struct WinOnCdJob {
    QString staging; // ends with '/'
    bool stagingMade = false;
    QString mainFile;
    QString startFolder;
    QStringList files;
    QStringList folders;
};

WinOnCdJob &job()
{
    static WinOnCdJob state;
    return state;
}

// The folder of `path` (the text before its last separator), as a 1-based position in the
// folder list, appended when new.
int registerFolder(const QString &path)
{
    const qsizetype cut = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    const QString folder = cut < 0 ? QString() : path.left(cut);
    qsizetype index = job().folders.indexOf(folder);
    if (index < 0) {
        job().folders.append(folder);
        index = job().folders.size() - 1;
    }
    return int(index) + 1;
}

// Linux file systems keep no separate 8.3 names, so a file's short name is its long name.
QString fileLine(const QString &path)
{
    const QString name = fileNameOf(path);
    const int folder = registerFolder(path);
    return fillIn(QStringLiteral("FILE \"%1\" \"*%2\\%1\" /ISO \"%1\"\r\n"), name, folder);
}

} // namespace

QString winOnCdKeyPath()
{
    return QStringLiteral("Software\\CeQuadrat\\Applications");
}

QString winOnCdProgramValue()
{
    return QStringLiteral("WINONCD.EXE");
}

bool isWinOnCdInstalled(const SettingsStore &settings)
{
    const std::optional<QString> program
        = settings.readString(SettingsRoot::Machine, winOnCdKeyPath(), winOnCdProgramValue(), 260);
    return program && !program->isEmpty() && QFileInfo(*program).isFile();
}

bool isWinOnCdRunning()
{
    return windowClassExists(QStringLiteral("WinOnCDMainWndClass"));
}

QString stagingRoot()
{
    const QString runtime = runtimeFolder();
    return runtime.isEmpty() ? QString() : runtime + QStringLiteral("/GXTMP");
}

QString stagingFolder()
{
    WinOnCdJob &state = job();
    if (state.stagingMade)
        return state.staging;
    const QString root = stagingRoot();
    if (root.isEmpty() || !QDir().mkpath(root))
        return {};
    for (int n = 1;; ++n) {
        const QString candidate = root + QStringLiteral("/TMP") + QString::number(n);
        if (QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink())
            continue;
        if (!QDir().mkdir(candidate))
            return {};
        state.staging = candidate + u'/';
        state.stagingMade = true;
        return state.staging;
    }
}

void clearStaging()
{
    if (isWinOnCdRunning())
        return;
    const QString root = stagingRoot();
    if (!root.isEmpty())
        QDir(root).removeRecursively();
    job().stagingMade = false;
}

void setMainFile(const QString &path)
{
    job().mainFile = path;
}

void addFile(const QString &path)
{
    if (job().files.contains(path))
        return;
    job().files.append(path);
    registerFolder(path);
}

void setStartFolder(const QString &name)
{
    job().startFolder = name;
}

QByteArray winOnCdProject(const QDate &today)
{
    const WinOnCdJob &state = job();
    if (!state.mainFile.isEmpty())
        registerFolder(state.mainFile);
    const QString volume = fillIn(
        QStringLiteral("VOLUME \"%1/%2/%3\"\r\n"), today.day(), today.month(), today.year());
    QString text = QStringLiteral("[WinOnCD Project]\r\nPlugin=ISO9660\r\nJob1=ISO9660\r\n\r\n");
    text += QStringLiteral("[ISO9660]\r\n") + volume + QStringLiteral("JOLIET VD\r\n") + volume;
    text += QStringLiteral("PATHTABLE\r\n");
    for (const QString &folder : state.folders)
        text += QStringLiteral("1=") + folder + QStringLiteral("\r\n");
    text += QStringLiteral("/PATHTABLE\r\n\r\nROOT\r\n");
    if (!state.mainFile.isEmpty())
        text += fileLine(state.mainFile);
    if (!state.startFolder.isEmpty())
        text += QStringLiteral("START \"%1\" /ISO \"%1\"\r\n").arg(state.startFolder);
    for (const QString &path : state.files)
        text += fileLine(path);
    return text.toLocal8Bit();
}

void resetWinOnCdJob()
{
    job() = WinOnCdJob {};
}

bool writeProjectAndOpen(const QDate &today)
{
    const QString project = job().staging + QStringLiteral("TEMP.CPJ");
    const bool haveFolder = job().stagingMade;
    const QString cause = haveFolder ? writeWholeFile(project, winOnCdProject(today))
                                     : QStringLiteral("no staging folder");
    resetWinOnCdJob();
    if (!cause.isEmpty())
        return false;
    programStarter().openDocument(project);
    return true;
}

} // namespace glimmerix::winoncd
