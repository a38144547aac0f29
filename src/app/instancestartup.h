#pragma once

#include "commandline.h"
#include "platform/instancechannel.h"
#include "platform/instancelock.h"
#include "platform/relayfile.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace glimmerix
{

// The single-instance side of start-up. claim() looks for a running instance through the instance
// lock and then either hands this start's files to it, or makes this process the first instance
// (it keeps the lock until it ends), or lets it run as an independent second instance.
class InstanceStartup
{
public:
    enum class Role {
        HandedOver, // every file went to the running instance: end now with status 0
        FirstInstance, // holds the lock; call receiveHandovers() once the window exists
        SecondInstance, // another instance runs; this one neither locks nor receives
    };

    // `instanceName` is the executable's base name ("glimix").
    explicit InstanceStartup(QString instanceName);

    Role claim(const StartupCommandLine &commandLine, int timeoutMs = kDefaultReplyTimeoutMs);
    // The files this process adds to its own album: all non-album files of the command line, or
    // those the running instance could not be given when a hand-over broke off.
    QStringList filesToAddHere() const { return m_filesHere; }
    // Why a hand-over broke off, or why the channel could not be opened; empty when all went well.
    QString errorString() const { return m_error; }

    // First instance: listens on the instance channel and passes each handed-over path to
    // `receiver` (not owned). False (see errorString()) when the channel cannot be opened; the
    // program then runs on without receiving.
    bool receiveHandovers(HandoverReceiver *receiver);
    // The channel, for further messages the program answers.
    InstanceServer &server() { return m_server; }

private:
    QString m_name;
    InstanceLock m_lock;
    InstanceServer m_server;
    std::unique_ptr<RelayFileReceiver> m_relayReceiver;
    QStringList m_filesHere;
    QString m_error;
};

} // namespace glimmerix
