#pragma once

#include "folders.h"
#include "settingssections.h"

#include "platform/settingsstore.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace glimmerix
{

inline constexpr const char *kProductName = "Glimmerix";
inline constexpr const char *kProductVersion = "2.0";

// Key paths in the settings store, the same in both roots.
QString productKeyPath(); // SOFTWARE\Orvanta\Glimmerix\2.0
QString preferenceKeyPath(); // ...\Preference (machine root)
QString templateInfoKeyPath(); // ...\TemplateInfo (machine root)

// The application's settings: read once at start by load(), kept in memory for the rest of the
// program, partly written back by saveOnExit(). Values that are missing, of the wrong type or
// under a key that cannot be opened keep their defaults; nothing is reported.
//
// Where the values live (root, key below productKeyPath()):
//   machine Preference     LastFile, ZoSite, ZoGetServer, ZoUpload, ZoDownload
//   machine TemplateInfo   CDDrive, TemplateDir
//   machine, user App<i>   AppPathName, AppLabel (the launcher list)
//   user Field1..Field3    default value: the caption, keywords and description labels
//   user (product key)     AddPhotoPath, AcquirePath, AcquireFilePrefix, AcquireSource,
//                          AcquireFileType, AcquireCustPrefix
class AppSettings
{
public:
    explicit AppSettings(SettingsStore &store, Folders folders = Folders());

    // Start-up: reads every setting, creating the keys that are missing and the field labels
    // with their defaults, and makes the missing program folders.
    void load();
    // Exit: writes the acquire settings, AddPhotoPath and the launcher list to the user root in
    // one save. False when the file could not be written.
    bool saveOnExit();
    // Writes AddPhotoPath alone (one part of saveOnExit()).
    bool saveAddPhotoPath();

    SettingsStore &store() const { return m_store; }
    const Folders &folders() const { return m_folders; }
    // English name of the system language ("Japanese", ...), read once.
    const QString &systemLanguage() const { return m_systemLanguage; }

    // The album shown at start. setLastFile() stores it at once; a path too long for a path field
    // is refused (false, nothing changes). An empty path clears it.
    const QString &lastFile() const { return m_lastFile; }
    bool setLastFile(const QString &path);

    const OnlineService &onlineService() const { return m_online; }

    const QString &cdDrive() const { return m_cdDrive; }
    // The TemplateDir value; templateDirSet() tells whether it was stored at all.
    const QString &templateDir() const { return m_templateDir; }
    bool templateDirSet() const { return m_templateDirSet; }
    // Empty when no CD drive is configured.
    QString cdTemplateFolder() const;

    // Where Add Files starts; kept in memory, written at exit. An empty path means the photos
    // folder; a path too long for a path field is refused.
    const QString &addPhotoPath() const { return m_addPhotoPath; }
    bool setAddPhotoPath(const QString &path);

    const AcquireSettings &acquireSettings() const { return m_acquire; }
    // Kept in memory, written at exit. An empty path means the photos folder; a path too long
    // for a path field is refused (false, nothing changes).
    bool setAcquireSettings(const AcquireSettings &settings);

    QString fieldLabel(ItemField field) const;
    // Each non-empty text replaces its label (cut to 29 bytes), an empty one leaves it; then all
    // three labels are written. False when they could not be written.
    bool setFieldLabels(
        const QString &caption, const QString &keywords, const QString &description);

    const QList<ExternalApp> &externalApps() const { return m_apps; }
    // Replaces the launcher list (written at exit). Refused as a whole (false, nothing changes)
    // when an entry has an empty path or one too long for a path field, or a path comes twice.
    // Labels are cut to 29 bytes.
    bool setExternalApps(const QList<ExternalApp> &apps);

private:
    void readPreferences();
    void readFieldLabels();
    void readExternalApps(SettingsRoot root);
    void readUserValues();
    void readTemplateInfo();
    void writeAcquireValues();
    void writeExternalApps();

    SettingsStore &m_store;
    Folders m_folders;
    QString m_systemLanguage;
    QString m_lastFile;
    OnlineService m_online;
    QString m_cdDrive;
    QString m_templateDir;
    bool m_templateDirSet = false;
    QString m_addPhotoPath;
    AcquireSettings m_acquire;
    QString m_labels[3];
    QList<ExternalApp> m_apps;
};

// The settings of this process, over the standard settings files and folders. The program calls
// load() at start and saveOnExit() at exit; until load() the values are the defaults.
AppSettings &appSettings();

} // namespace glimmerix
