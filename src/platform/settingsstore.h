#pragma once

#include "settingsfile.h"

#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <optional>

class QLockFile;

namespace glimmerix
{

// The settings store: the program's stand-in for the system registry. It has two roots with the
// same key paths and value names as the registry would have; each root is a settings file (see
// settingsfile.h).
//
//   user root     configFolder()/user.reg
//   machine root  configFolder()/machine.reg, layered over read-only administrator files:
//                 /etc/glimmerix/machine.reg, then resourceFolder()/etc/machine.reg.
//
// A desktop user cannot write system files, so every value written to the machine root goes to
// the per-user machine.reg; reads look there first, then in the administrator files in order.
// Deleting a machine key removes it from the per-user file only: what the administrator files
// hold stays visible.
//
// Reads come from the files as loaded (at construction or reload()). Every change re-reads the
// file it changes, applies itself and saves the file atomically, holding a lock file meanwhile,
// so a second running instance does not lose what the first wrote. A batch (SettingsBatch)
// bundles several changes into one save. Files that are missing, unreadable or garbled give
// what can be parsed; nothing here crashes or reports to the user. Before a garbled file is
// first overwritten, it is copied aside to <file>.bad.

enum class SettingsRoot { Machine, User };

struct SettingsFiles {
    QString user;
    QString machine;
    QStringList machineDefaults; // read-only layers under the machine file, highest first
};
// The standard files described above.
SettingsFiles standardSettingsFiles();

class SettingsKey;

class SettingsStore
{
public:
    enum class Open { Existing, Create };

    SettingsStore();
    explicit SettingsStore(SettingsFiles files);
    ~SettingsStore();
    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    const SettingsFiles &files() const { return m_files; }
    // Reads every file again.
    void reload();
    // Problems found while reading the files ("<file>: line N: ..."), for diagnostics.
    QStringList parseErrors() const;

    // A handle on the key; not open when the key is missing (Open::Existing), when the path is
    // not valid, or when the key had to be made and its file could not be written.
    SettingsKey openKey(SettingsRoot root, const QString &path, Open mode = Open::Existing);
    bool keyExists(SettingsRoot root, const QString &path) const;
    QStringList subkeyNames(SettingsRoot root, const QString &path) const;
    // Removes the key and everything below it. False when it was missing or the file could not
    // be written.
    bool deleteKey(SettingsRoot root, const QString &path);

    // A string value, cut to `maxBytes` UTF-8 bytes at a character boundary (no limit when
    // negative). Missing values and values of the other type give nothing.
    std::optional<QString> readString(
        SettingsRoot root, const QString &path, const QString &name, int maxBytes = -1) const;
    std::optional<quint32> readNumber(
        SettingsRoot root, const QString &path, const QString &name) const;
    // Writing creates the key when missing. False when the path is not valid or the file could
    // not be written.
    bool writeString(
        SettingsRoot root, const QString &path, const QString &name, const QString &text);
    bool writeNumber(SettingsRoot root, const QString &path, const QString &name, quint32 value);

private:
    friend class SettingsBatch;
    struct Layer {
        QString file;
        SettingsTree tree;
        QStringList errors;
        bool garbled = false;
    };
    struct Writable {
        Layer layer;
        int batchDepth = 0;
        bool changed = false;
        bool failed = false;
        std::unique_ptr<QLockFile> lock;
    };

    Writable &writable(SettingsRoot root) { return m_writable[size_t(root)]; }
    const Writable &writable(SettingsRoot root) const { return m_writable[size_t(root)]; }
    std::optional<SettingsValue> findValue(
        SettingsRoot root, const QString &path, const QString &name) const;
    void reloadWritable(Writable &target);
    void beginChanges(SettingsRoot root);
    bool endChanges(SettingsRoot root);
    bool save(Writable &target);

    SettingsFiles m_files;
    std::array<Writable, 2> m_writable;
    QList<Layer> m_machineDefaults;
};

// Bundles the changes to one root into a single save. Changes made through the store while the
// batch lives are saved when it is committed (or destroyed); batches may nest, and the outermost
// one saves.
class SettingsBatch
{
public:
    SettingsBatch(SettingsStore &store, SettingsRoot root);
    ~SettingsBatch();
    SettingsBatch(const SettingsBatch &) = delete;
    SettingsBatch &operator=(const SettingsBatch &) = delete;
    // Ends the batch; false when a save failed. Only the outermost batch reports a save.
    bool commit();

private:
    SettingsStore &m_store;
    SettingsRoot m_root;
    bool m_open = true;
};

// A key of the store, opened by SettingsStore::openKey. An unopened key reads nothing and
// refuses writes, so code can read with defaults without checking first.
class SettingsKey
{
public:
    SettingsKey() = default;

    bool isOpen() const { return m_store != nullptr; }
    SettingsRoot root() const { return m_root; }
    const QString &path() const { return m_path; }

    std::optional<QString> readString(const QString &name, int maxBytes = -1) const;
    std::optional<quint32> readNumber(const QString &name) const;
    bool writeString(const QString &name, const QString &text);
    bool writeNumber(const QString &name, quint32 value);
    bool hasSubkey(const QString &name) const;
    SettingsKey openSubkey(
        const QString &name, SettingsStore::Open mode = SettingsStore::Open::Existing) const;
    // Names of the subkeys "<prefix>1", "<prefix>2", ... up to the first one missing.
    QStringList numberedSubkeys(const QString &prefix) const;

private:
    friend class SettingsStore;
    SettingsKey(SettingsStore *store, SettingsRoot root, const QString &path)
        : m_store(store)
        , m_root(root)
        , m_path(path)
    {
    }

    SettingsStore *m_store = nullptr;
    SettingsRoot m_root = SettingsRoot::User;
    QString m_path;
};

} // namespace glimmerix
