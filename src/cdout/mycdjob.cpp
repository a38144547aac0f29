#include "mycdjob.h"

#include "cdjob.h"

#include "platform/host.h"
#include "platform/privateprofile.h"
#include "platform/programstarter.h"
#include "platform/settingsstore.h"
#include "publish/productfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace glimmerix
{

namespace
{

const QString kFiles = QStringLiteral("Files");

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// An entry without an extension names a disc folder, anything else a file.
bool hasExtension(const QString &path)
{
    return fileNameOf(path).contains(u'.');
}

bool moveFile(const QString &from, const QString &to)
{
    QFile::remove(to);
    if (QFile::rename(from, to))
        return true;
    return copyProductFile(from, to).isEmpty() && QFile::remove(from);
}

} // namespace

QString CMyCdJob::componentKeyPath()
{
    return QStringLiteral(
        "Software\\Classes\\CLSID\\{4EF5F97E-D5B1-11D3-810C-005004AD33D2}\\InprocServer32");
}

CMyCdJob::CMyCdJob(
    const SettingsStore &settings, const QString &jobFolder, const QString &tempFolder)
    : m_jobFile(jobFolder + QStringLiteral("/MyCDFile.ini"))
    , m_tempFolder(tempFolder)
{
    const QString component
        = settings.readString(SettingsRoot::Machine, componentKeyPath(), QString(), 260)
              .value_or(QString());
    const qsizetype cut = std::max(component.lastIndexOf(u'/'), component.lastIndexOf(u'\\'));
    if (cut > 0) {
        const QString program = component.left(cut) + QStringLiteral("/MyCD.Exe");
        if (QFileInfo(program).isFile())
            m_program = program;
    }
    removePreviousJob();
}

bool CMyCdJob::isMyCdRunning()
{
    return windowTitleExists(QStringLiteral("HP MyCD"));
}

QString CMyCdJob::entry(int number) const
{
    return findProfileValue(readAll(m_jobFile), kFiles, QString::number(number))
        .value_or(QString());
}

bool CMyCdJob::setValue(const QString &section, const QString &key, const QString &value)
{
    return writeWholeFile(m_jobFile, setProfileValue(readAll(m_jobFile), section, key, value))
        .isEmpty();
}

void CMyCdJob::removePreviousJob()
{
    if (!QFileInfo::exists(m_jobFile))
        return;
    for (int n = 1;; ++n) {
        const QString path = entry(n);
        if (path.isEmpty())
            break;
        if (hasExtension(path)) {
            QFile::remove(path);
            continue;
        }
        // A disc folder MyCDn/NAME: its files, the folder, then the numbered folder.
        QDir folder(path);
        for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden))
            folder.remove(name);
        QDir().rmdir(path);
        QDir().rmdir(path.left(std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'))));
    }
    QFile::remove(m_jobFile);
}

int CMyCdJob::addFile(const QString &path)
{
    if (!QFileInfo::exists(path))
        return 0;
    for (int n = 1; n <= m_fileCount; ++n) {
        const QString listed = entry(n);
        if (hasExtension(listed) && listed.compare(path, Qt::CaseInsensitive) == 0)
            return 1;
    }
    if (!m_discFolder.isEmpty())
        return moveFile(path, m_discFolder + u'/' + fileNameOf(path)) ? 1 : 0;
    ++m_fileCount;
    return setValue(kFiles, QString::number(m_fileCount), path) ? 1 : 0;
}

bool CMyCdJob::setDiscFolder(const QString &name)
{
    QString numbered;
    for (int n = 1;; ++n) {
        numbered = m_tempFolder + QStringLiteral("/MyCD") + QString::number(n);
        if (QFileInfo::exists(numbered) || QFileInfo(numbered).isSymLink())
            continue;
        if (QDir().mkdir(numbered))
            break;
        return false;
    }
    m_discFolder = numbered + u'/' + name;
    if (!QDir().mkdir(m_discFolder)) {
        m_discFolder.clear();
        return false;
    }
    ++m_fileCount;
    setValue(kFiles, QString::number(m_fileCount), m_discFolder);
    return true;
}

void CMyCdJob::write(const QDateTime &now)
{
    if (isMyCdRunning())
        return;
    const WaitCursor wait;
    setValue(QStringLiteral("MyCD Job"), QStringLiteral("Type"), QStringLiteral("DataCD"));
    setValue(
        QStringLiteral("MyCD Job"), QStringLiteral("Name"), QStringLiteral("My Keepsake Desk"));
    setValue(QStringLiteral("Parameters"), QStringLiteral("VolumeLabel"),
        now.toString(QStringLiteral("yyMMddHHmm")));
    setValue(QStringLiteral("Parameters"), QStringLiteral("ShowFileList"), QStringLiteral("0"));
    programStarter().start(
        { m_program, { QStringLiteral("/DataCD/Job:") + m_jobFile }, {} }, nullptr);
}

} // namespace glimmerix
