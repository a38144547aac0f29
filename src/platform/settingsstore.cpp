#include "settingsstore.h"

#include "paths.h"
#include "savefilecommit.h"
#include "textlimits.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>

namespace glimmerix
{

namespace
{

// Larger files are not settings files; they are left alone rather than parsed or overwritten.
constexpr qint64 kMaxSettingsFileBytes = 4 * 1024 * 1024;

} // namespace

SettingsFiles standardSettingsFiles()
{
    SettingsFiles files;
    files.user = joinPath(configFolder(), QStringLiteral("user.reg"));
    files.machine = joinPath(configFolder(), QStringLiteral("machine.reg"));
    files.machineDefaults << QStringLiteral("/etc/glimmerix/machine.reg")
                          << joinPath(resourceFolder(), QStringLiteral("etc/machine.reg"));
    return files;
}

SettingsStore::SettingsStore()
    : SettingsStore(standardSettingsFiles())
{
}

SettingsStore::SettingsStore(SettingsFiles files)
    : m_files(std::move(files))
{
    writable(SettingsRoot::User).layer.file = m_files.user;
    writable(SettingsRoot::Machine).layer.file = m_files.machine;
    for (const QString &file : std::as_const(m_files.machineDefaults))
        m_machineDefaults.append(Layer { file, {}, {}, false });
    reload();
}

SettingsStore::~SettingsStore() = default;

namespace
{

// Reads and parses one layer's file. A missing file is an empty tree; a file that exists but
// cannot be read in full is marked garbled-and-unreadable through `readable`.
void loadLayer(QString file, SettingsTree &tree, QStringList &errors, bool &garbled, bool *readable)
{
    tree = {};
    errors.clear();
    garbled = false;
    if (readable)
        *readable = true;
    QFile input(file);
    if (!input.exists())
        return;
    if (!input.open(QIODevice::ReadOnly) || input.size() > kMaxSettingsFileBytes) {
        errors << QStringLiteral("%1: cannot be read").arg(file);
        if (readable)
            *readable = false;
        return;
    }
    SettingsFileParse parse = parseSettingsFile(input.read(kMaxSettingsFileBytes));
    tree = std::move(parse.tree);
    for (const QString &error : std::as_const(parse.errors))
        errors << QStringLiteral("%1: %2").arg(file, error);
    garbled = !parse.errors.isEmpty();
}

} // namespace

void SettingsStore::reloadWritable(Writable &target)
{
    bool readable = true;
    loadLayer(
        target.layer.file, target.layer.tree, target.layer.errors, target.layer.garbled, &readable);
    target.failed = !readable;
}

void SettingsStore::reload()
{
    for (Writable &target : m_writable)
        reloadWritable(target);
    for (Layer &layer : m_machineDefaults)
        loadLayer(layer.file, layer.tree, layer.errors, layer.garbled, nullptr);
}

QStringList SettingsStore::parseErrors() const
{
    QStringList errors;
    for (const Writable &target : m_writable)
        errors << target.layer.errors;
    for (const Layer &layer : m_machineDefaults)
        errors << layer.errors;
    return errors;
}

void SettingsStore::beginChanges(SettingsRoot root)
{
    Writable &target = writable(root);
    if (target.batchDepth++ > 0)
        return;
    const QString file = target.layer.file;
    QDir().mkpath(QFileInfo(file).absolutePath());
    target.lock = std::make_unique<QLockFile>(file + QStringLiteral(".lock"));
    // Without the lock (read-only folder, a stuck peer) the change still goes ahead: losing a
    // concurrent write is better than losing this one.
    if (!target.lock->tryLock(2000))
        target.lock.reset();
    reloadWritable(target);
    target.changed = false;
}

bool SettingsStore::endChanges(SettingsRoot root)
{
    Writable &target = writable(root);
    if (--target.batchDepth > 0)
        return true;
    const bool saved = !target.changed || save(target);
    // What could not be saved is dropped, so reads keep showing what the file holds.
    if (!saved)
        reloadWritable(target);
    target.lock.reset();
    return saved;
}

bool SettingsStore::save(Writable &target)
{
    // A file we could not read is never replaced: its contents would be lost.
    if (target.failed)
        return false;
    const QString file = target.layer.file;
    if (target.layer.garbled) {
        const QString aside = file + QStringLiteral(".bad");
        QFile::remove(aside);
        QFile::copy(file, aside);
    }
    QSaveFile output(file);
    if (!output.open(QIODevice::WriteOnly))
        return false;
    output.write(serializeSettingsFile(target.layer.tree));
    if (!commitSaveFile(output))
        return false;
    // Settings may hold account details: keep them private to the user.
    QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    target.layer.garbled = false;
    target.layer.errors.clear();
    return true;
}

SettingsKey SettingsStore::openKey(SettingsRoot root, const QString &path, Open mode)
{
    if (!isValidKeyPath(path))
        return {};
    if (keyExists(root, path))
        return SettingsKey(this, root, path);
    if (mode == Open::Existing)
        return {};
    SettingsBatch batch(*this, root);
    Writable &target = writable(root);
    target.layer.tree.createKey(path);
    target.changed = true;
    if (!batch.commit())
        return {};
    return SettingsKey(this, root, path);
}

bool SettingsStore::keyExists(SettingsRoot root, const QString &path) const
{
    if (writable(root).layer.tree.keyExists(path))
        return true;
    if (root == SettingsRoot::User)
        return false;
    for (const Layer &layer : m_machineDefaults) {
        if (layer.tree.keyExists(path))
            return true;
    }
    return false;
}

QStringList SettingsStore::subkeyNames(SettingsRoot root, const QString &path) const
{
    QStringList names = writable(root).layer.tree.subkeyNames(path);
    if (root == SettingsRoot::User)
        return names;
    for (const Layer &layer : m_machineDefaults) {
        for (const QString &name : layer.tree.subkeyNames(path)) {
            if (!names.contains(name, Qt::CaseInsensitive))
                names << name;
        }
    }
    return names;
}

bool SettingsStore::deleteKey(SettingsRoot root, const QString &path)
{
    SettingsBatch batch(*this, root);
    Writable &target = writable(root);
    const bool removed = target.layer.tree.deleteKey(path);
    target.changed = target.changed || removed;
    return batch.commit() && removed;
}

std::optional<SettingsValue> SettingsStore::findValue(
    SettingsRoot root, const QString &path, const QString &name) const
{
    if (std::optional<SettingsValue> value = writable(root).layer.tree.value(path, name))
        return value;
    if (root == SettingsRoot::User)
        return std::nullopt;
    for (const Layer &layer : m_machineDefaults) {
        if (std::optional<SettingsValue> value = layer.tree.value(path, name))
            return value;
    }
    return std::nullopt;
}

std::optional<QString> SettingsStore::readString(
    SettingsRoot root, const QString &path, const QString &name, int maxBytes) const
{
    const std::optional<SettingsValue> value = findValue(root, path, name);
    if (!value || value->type != SettingsValue::Type::String)
        return std::nullopt;
    return cutToUtf8Bytes(value->text, maxBytes);
}

std::optional<quint32> SettingsStore::readNumber(
    SettingsRoot root, const QString &path, const QString &name) const
{
    const std::optional<SettingsValue> value = findValue(root, path, name);
    if (!value || value->type != SettingsValue::Type::Number)
        return std::nullopt;
    return value->number;
}

bool SettingsStore::writeString(
    SettingsRoot root, const QString &path, const QString &name, const QString &text)
{
    if (!isValidKeyPath(path))
        return false;
    SettingsBatch batch(*this, root);
    Writable &target = writable(root);
    target.layer.tree.setValue(path, name, SettingsValue::string(text));
    target.changed = true;
    return batch.commit();
}

bool SettingsStore::writeNumber(
    SettingsRoot root, const QString &path, const QString &name, quint32 value)
{
    if (!isValidKeyPath(path))
        return false;
    SettingsBatch batch(*this, root);
    Writable &target = writable(root);
    target.layer.tree.setValue(path, name, SettingsValue::fromNumber(value));
    target.changed = true;
    return batch.commit();
}

SettingsBatch::SettingsBatch(SettingsStore &store, SettingsRoot root)
    : m_store(store)
    , m_root(root)
{
    m_store.beginChanges(m_root);
}

SettingsBatch::~SettingsBatch()
{
    commit();
}

bool SettingsBatch::commit()
{
    if (!m_open)
        return true;
    m_open = false;
    return m_store.endChanges(m_root);
}

namespace
{

QString childPath(const QString &path, const QString &name)
{
    return path + u'\\' + name;
}

} // namespace

std::optional<QString> SettingsKey::readString(const QString &name, int maxBytes) const
{
    if (!m_store)
        return std::nullopt;
    return m_store->readString(m_root, m_path, name, maxBytes);
}

std::optional<quint32> SettingsKey::readNumber(const QString &name) const
{
    if (!m_store)
        return std::nullopt;
    return m_store->readNumber(m_root, m_path, name);
}

bool SettingsKey::writeString(const QString &name, const QString &text)
{
    return m_store && m_store->writeString(m_root, m_path, name, text);
}

bool SettingsKey::writeNumber(const QString &name, quint32 value)
{
    return m_store && m_store->writeNumber(m_root, m_path, name, value);
}

bool SettingsKey::hasSubkey(const QString &name) const
{
    return m_store && m_store->keyExists(m_root, childPath(m_path, name));
}

SettingsKey SettingsKey::openSubkey(const QString &name, SettingsStore::Open mode) const
{
    if (!m_store)
        return {};
    return m_store->openKey(m_root, childPath(m_path, name), mode);
}

QStringList SettingsKey::numberedSubkeys(const QString &prefix) const
{
    QStringList names;
    for (int i = 1; i < 1'000'000; ++i) {
        const QString name = prefix + QString::number(i);
        if (!hasSubkey(name))
            break;
        names << name;
    }
    return names;
}

} // namespace glimmerix
