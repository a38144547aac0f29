#pragma once

// Settings stores in a fresh folder and small file helpers for the CD output tests.

#include "platform/settingsstore.h"
#include "support/processrun.h"
#include "support/testenvironment.h"

#include <QFile>

#include <memory>

// A settings store over empty files in a fresh folder.
inline std::unique_ptr<glimmerix::SettingsStore> freshSettings()
{
    const QString folder = makeTestFolder(QStringLiteral("settings"));
    return std::make_unique<glimmerix::SettingsStore>(glimmerix::SettingsFiles {
        folder + QStringLiteral("/user.reg"), folder + QStringLiteral("/machine.reg"), {} });
}

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

// Runs xorriso with `args`; its standard output (and error after it).
inline QString xorriso(const QStringList &args, int *status = nullptr)
{
    const ProcessRun run = runProgram(QStringLiteral("xorriso"), args);
    if (status)
        *status = run.status;
    return run.out;
}
