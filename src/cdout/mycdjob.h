#pragma once

#include <QDateTime>
#include <QString>

namespace glimmerix
{

class SettingsStore;

// The job of a CD application that reads a job file, "MyCDFile.ini": a [Files] list of the files
// and disc folders to record, and the job's type, name and volume label. One object per wizard
// page; making one removes what the previous job left behind.
class CMyCdJob
{
public:
    // Where the application registers its component (machine root) and the component's file.
    static QString componentKeyPath();
    // `jobFolder` holds the job file; `tempFolder` the numbered MyCDn disc folders.
    CMyCdJob(const SettingsStore &settings, const QString &jobFolder, const QString &tempFolder);

    bool isAvailable() const { return !m_program.isEmpty(); }
    static bool isMyCdRunning();
    const QString &jobFile() const { return m_jobFile; }
    const QString &program() const { return m_program; }
    const QString &discFolder() const { return m_discFolder; }

    // Lists `path` (or moves it into the disc folder when one is set). 0 when the file is
    // missing; 1 when it is listed already (without regard to case).
    int addFile(const QString &path);
    // Makes tempFolder/MyCDn/NAME (the first free n) and lists it.
    bool setDiscFolder(const QString &name);
    // Completes the job file (volume label from `now`) and starts the application on it, unless
    // the application is open already.
    void write(const QDateTime &now = QDateTime::currentDateTime());

private:
    void removePreviousJob();
    QString entry(int number) const;
    bool setValue(const QString &section, const QString &key, const QString &value);

    QString m_jobFile;
    QString m_tempFolder;
    QString m_program;
    QString m_discFolder;
    int m_fileCount = 0;
};

} // namespace glimmerix
