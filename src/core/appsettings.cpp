#include "appsettings.h"

#include "messageids.h"
#include "platform/strings.h"
#include "platform/textlimits.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace glimmerix
{

namespace
{

const int kDefaultLabelStrings[3] = { Message::kDefaultCaptionLabel, Message::kDefaultKeywordsLabel,
    Message::kDefaultDescriptionLabel };

QString subkeyPath(const QString &parent, const QString &name)
{
    return parent + u'\\' + name;
}

QString fieldKeyName(int index)
{
    return QStringLiteral("Field%1").arg(index + 1);
}

QString defaultLabel(int index)
{
    return cutToUtf8Bytes(loadString(kDefaultLabelStrings[index]), kMaxLabelBytes);
}

// A stored path: a value too long for a path field counts as missing, never as a cut path.
std::optional<QString> readPath(const SettingsKey &key, const QString &name)
{
    std::optional<QString> path = key.readString(name);
    if (path && !pathFitsField(*path))
        return std::nullopt;
    return path;
}

// The label shown for a program that has none: its file name without folder and extension.
QString labelFromPath(const QString &path)
{
    const QFileInfo info(path);
    const QString base = info.completeBaseName();
    return cutToUtf8Bytes(base.isEmpty() ? info.fileName() : base, kMaxLabelBytes);
}

bool isAppSubkey(const QString &name)
{
    static const QRegularExpression pattern(
        QStringLiteral("^App[0-9]+$"), QRegularExpression::CaseInsensitiveOption);
    return pattern.match(name).hasMatch();
}

} // namespace

QString productKeyPath()
{
    return QStringLiteral("SOFTWARE\\Orvanta\\%1\\%2")
        .arg(QString::fromLatin1(kProductName), QString::fromLatin1(kProductVersion));
}

QString preferenceKeyPath()
{
    return subkeyPath(productKeyPath(), QStringLiteral("Preference"));
}

QString templateInfoKeyPath()
{
    return subkeyPath(productKeyPath(), QStringLiteral("TemplateInfo"));
}

AppSettings::AppSettings(SettingsStore &store, Folders folders)
    : m_store(store)
    , m_folders(std::move(folders))
    , m_systemLanguage(systemLanguageName())
{
    m_addPhotoPath = m_folders.photosFolder();
    m_acquire.path = m_folders.photosFolder();
    for (int i = 0; i < 3; ++i)
        m_labels[i] = defaultLabel(i);
}

void AppSettings::load()
{
    m_systemLanguage = systemLanguageName();
    readPreferences();
    readFieldLabels();
    m_apps.clear();
    readExternalApps(SettingsRoot::Machine);
    readExternalApps(SettingsRoot::User);
    m_folders.makeMissing();
    readUserValues();
    readTemplateInfo();
}

void AppSettings::readPreferences()
{
    m_online = OnlineService();
    m_lastFile.clear();
    const SettingsKey key
        = m_store.openKey(SettingsRoot::Machine, preferenceKeyPath(), SettingsStore::Open::Create);
    m_lastFile = readPath(key, QStringLiteral("LastFile")).value_or(QString());
    const auto read = [&](const char *name, QString &value) {
        if (std::optional<QString> text
            = key.readString(QString::fromLatin1(name), kMaxOnlineValueBytes))
            value = *text;
    };
    read("ZoSite", m_online.site);
    read("ZoGetServer", m_online.getServer);
    read("ZoUpload", m_online.upload);
    read("ZoDownload", m_online.download);
}

void AppSettings::readFieldLabels()
{
    // Labels made at a first start go to the file in one save.
    SettingsBatch batch(m_store, SettingsRoot::User);
    const SettingsKey product
        = m_store.openKey(SettingsRoot::User, productKeyPath(), SettingsStore::Open::Create);
    for (int i = 0; i < 3; ++i) {
        m_labels[i] = defaultLabel(i);
        SettingsKey key = product.openSubkey(fieldKeyName(i), SettingsStore::Open::Create);
        const std::optional<QString> label = key.readString(QString(), kMaxLabelBytes);
        // An empty label would leave the field unnamed: it counts as missing.
        if (label && !label->isEmpty())
            m_labels[i] = *label;
        else if (!m_labels[i].isEmpty())
            key.writeString(QString(), m_labels[i]);
    }
}

void AppSettings::readExternalApps(SettingsRoot root)
{
    const SettingsKey product = m_store.openKey(root, productKeyPath());
    for (const QString &name : product.numberedSubkeys(QStringLiteral("App"))) {
        const SettingsKey key = product.openSubkey(name);
        const std::optional<QString> path = readPath(key, QStringLiteral("AppPathName"));
        if (!path || path->isEmpty() || !QFileInfo::exists(*path))
            continue;
        const bool listed = std::any_of(m_apps.cbegin(), m_apps.cend(),
            [&](const ExternalApp &app) { return app.path == *path; });
        if (listed)
            continue;
        const std::optional<QString> label
            = key.readString(QStringLiteral("AppLabel"), kMaxLabelBytes);
        m_apps.append(ExternalApp { *path, label ? *label : labelFromPath(*path) });
    }
}

void AppSettings::readUserValues()
{
    const SettingsKey key = m_store.openKey(SettingsRoot::User, productKeyPath());
    const QString photos = m_folders.photosFolder();
    const auto pathOrPhotos = [&](const char *name) {
        const QString path = readPath(key, QString::fromLatin1(name)).value_or(QString());
        return path.isEmpty() ? photos : path;
    };
    m_addPhotoPath = pathOrPhotos("AddPhotoPath");
    m_acquire.path = pathOrPhotos("AcquirePath");
    m_acquire.filePrefix
        = key.readString(QStringLiteral("AcquireFilePrefix"), kMaxPathBytes).value_or(QString());
    m_acquire.source
        = key.readString(QStringLiteral("AcquireSource"), kMaxPathBytes).value_or(QString());
    m_acquire.fileType
        = int(key.readNumber(QStringLiteral("AcquireFileType")).value_or(kDefaultAcquireFileType));
    m_acquire.custPrefix = int(key.readNumber(QStringLiteral("AcquireCustPrefix")).value_or(0));
}

void AppSettings::readTemplateInfo()
{
    const SettingsKey key = m_store.openKey(SettingsRoot::Machine, templateInfoKeyPath());
    m_cdDrive = readPath(key, QStringLiteral("CDDrive")).value_or(QString());
    const std::optional<QString> templateDir = readPath(key, QStringLiteral("TemplateDir"));
    m_templateDirSet = templateDir.has_value();
    m_templateDir = templateDir.value_or(QString());
}

QString AppSettings::cdTemplateFolder() const
{
    return glimmerix::cdTemplateFolder(m_cdDrive, m_templateDir, m_templateDirSet);
}

bool AppSettings::setLastFile(const QString &path)
{
    if (!pathFitsField(path))
        return false;
    m_lastFile = path;
    return m_store.writeString(
        SettingsRoot::Machine, preferenceKeyPath(), QStringLiteral("LastFile"), path);
}

bool AppSettings::setAddPhotoPath(const QString &path)
{
    if (!pathFitsField(path))
        return false;
    m_addPhotoPath = path.isEmpty() ? m_folders.photosFolder() : path;
    return true;
}

bool AppSettings::setAcquireSettings(const AcquireSettings &settings)
{
    if (!pathFitsField(settings.path))
        return false;
    m_acquire = settings;
    if (m_acquire.path.isEmpty())
        m_acquire.path = m_folders.photosFolder();
    return true;
}

QString AppSettings::fieldLabel(ItemField field) const
{
    switch (field) {
    case ItemField::Caption:
        return m_labels[0];
    case ItemField::Keywords:
        return m_labels[1];
    case ItemField::Description:
        return m_labels[2];
    }
    return {};
}

bool AppSettings::setFieldLabels(
    const QString &caption, const QString &keywords, const QString &description)
{
    const QString texts[3] = { caption, keywords, description };
    SettingsBatch batch(m_store, SettingsRoot::User);
    bool written = true;
    for (int i = 0; i < 3; ++i) {
        if (!texts[i].isEmpty())
            m_labels[i] = cutToUtf8Bytes(texts[i], kMaxLabelBytes);
        written = m_store.writeString(SettingsRoot::User,
                      subkeyPath(productKeyPath(), fieldKeyName(i)), QString(), m_labels[i])
            && written;
    }
    return batch.commit() && written;
}

bool AppSettings::setExternalApps(const QList<ExternalApp> &apps)
{
    QList<ExternalApp> list;
    for (const ExternalApp &app : apps) {
        if (app.path.isEmpty() || !pathFitsField(app.path))
            return false;
        const bool listed = std::any_of(list.cbegin(), list.cend(),
            [&](const ExternalApp &other) { return other.path == app.path; });
        if (listed)
            return false;
        list.append(ExternalApp { app.path, cutToUtf8Bytes(app.label, kMaxLabelBytes) });
    }
    m_apps = list;
    return true;
}

void AppSettings::writeAcquireValues()
{
    const QString key = productKeyPath();
    m_store.writeString(SettingsRoot::User, key, QStringLiteral("AcquirePath"), m_acquire.path);
    m_store.writeString(
        SettingsRoot::User, key, QStringLiteral("AcquireFilePrefix"), m_acquire.filePrefix);
    m_store.writeString(SettingsRoot::User, key, QStringLiteral("AcquireSource"), m_acquire.source);
    m_store.writeNumber(
        SettingsRoot::User, key, QStringLiteral("AcquireFileType"), quint32(m_acquire.fileType));
    m_store.writeNumber(SettingsRoot::User, key, QStringLiteral("AcquireCustPrefix"),
        quint32(m_acquire.custPrefix));
}

void AppSettings::writeExternalApps()
{
    // Every App<n> subkey goes, not only those up to the first gap: an old entry beyond a gap
    // would otherwise come back once the new list closes the gap.
    const QString product = productKeyPath();
    for (const QString &name : m_store.subkeyNames(SettingsRoot::User, product)) {
        if (isAppSubkey(name))
            m_store.deleteKey(SettingsRoot::User, subkeyPath(product, name));
    }
    for (qsizetype i = 0; i < m_apps.size(); ++i) {
        const QString key = subkeyPath(product, QStringLiteral("App%1").arg(i + 1));
        m_store.writeString(SettingsRoot::User, key, QStringLiteral("AppPathName"), m_apps[i].path);
        m_store.writeString(SettingsRoot::User, key, QStringLiteral("AppLabel"), m_apps[i].label);
    }
}

bool AppSettings::saveAddPhotoPath()
{
    return m_store.writeString(
        SettingsRoot::User, productKeyPath(), QStringLiteral("AddPhotoPath"), m_addPhotoPath);
}

bool AppSettings::saveOnExit()
{
    SettingsBatch batch(m_store, SettingsRoot::User);
    writeAcquireValues();
    saveAddPhotoPath();
    writeExternalApps();
    return batch.commit();
}

AppSettings &appSettings()
{
    static SettingsStore store;
    static AppSettings settings(store);
    return settings;
}

} // namespace glimmerix
