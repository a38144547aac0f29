#pragma once

#include "platform/programstarter.h"

#include <QList>
#include <QStringList>

using namespace glimmerix;

// Test starter: installs itself in place of the process starter for its lifetime and records
// every program it is asked to start and every document it is asked to open, starting nothing.
class RecordingStarter final : public ProgramStarter
{
public:
    RecordingStarter() { m_previous = setProgramStarter(this); }
    ~RecordingStarter() override { setProgramStarter(m_previous); }
    RecordingStarter(const RecordingStarter &) = delete;
    RecordingStarter &operator=(const RecordingStarter &) = delete;

    bool start(const LaunchCommand &command, QString *) override
    {
        started.append(command);
        return true;
    }
    bool openDocument(const QString &path) override
    {
        opened.append(path);
        return true;
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

private:
    ProgramStarter *m_previous = nullptr;
};
