#pragma once

#include "platform/programstarter.h"

#include <QList>
#include <QStringList>

using namespace glimmerix;

// Test starter: installs itself in place of the process starter for its lifetime and records
// every program it is asked to start and every document it is asked to open, starting nothing.
// With `fail` set, starts and document openings are recorded and then reported as failed.
class RecordingStarter final : public ProgramStarter
{
public:
    RecordingStarter() { m_previous = setProgramStarter(this); }
    ~RecordingStarter() override { setProgramStarter(m_previous); }
    RecordingStarter(const RecordingStarter &) = delete;
    RecordingStarter &operator=(const RecordingStarter &) = delete;

    bool start(const LaunchCommand &command, QString *error) override
    {
        started.append(command);
        if (fail && error)
            *error = QStringLiteral("No such file or directory");
        return !fail;
    }
    bool openDocument(const QString &path) override
    {
        opened.append(path);
        return !fail;
    }
    // The programs started, in order.
    QStringList programs() const
    {
        QStringList names;
        for (const LaunchCommand &command : started)
            names.append(command.program);
        return names;
    }

    QList<LaunchCommand> started;
    QStringList opened;
    bool fail = false;

private:
    ProgramStarter *m_previous = nullptr;
};
