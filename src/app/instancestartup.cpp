#include "instancestartup.h"

#include "core/messageids.h"
#include "platform/host.h"

namespace glimmerix
{

InstanceStartup::InstanceStartup(QString instanceName)
    : m_name(instanceName)
    , m_lock(m_name)
{
}

InstanceStartup::Role InstanceStartup::claim(const StartupCommandLine &commandLine, int timeoutMs)
{
    m_filesHere = filesToAdd(commandLine);
    m_error.clear();
    if (!m_lock.tryLock() && !m_lock.heldElsewhere()) {
        // No lock can be had at all (no private instance folder): run, but alone and deaf.
        m_error = m_lock.errorString();
        return Role::SecondInstance;
    }
    switch (decideStartup(commandLine, !m_lock.isLocked())) {
    case StartupDecision::FirstInstance:
        return Role::FirstInstance;
    case StartupDecision::SecondInstance:
        return Role::SecondInstance;
    case StartupDecision::HandOver:
        break;
    }
    const HandoverResult result = handOverFiles(m_name, m_filesHere, timeoutMs);
    for (const QString &file : result.refused)
        host().showMessage(Message::kPathTooLong, { file });
    m_filesHere = result.notSent;
    if (result.complete())
        return Role::HandedOver;
    // The running instance could not be reached: rather than lose the files, open them here.
    m_error = result.error;
    return Role::SecondInstance;
}

bool InstanceStartup::receiveHandovers(HandoverReceiver *receiver)
{
    if (!m_lock.isLocked()) {
        m_error = QStringLiteral("only the first instance receives hand-overs");
        return false;
    }
    if (!m_relayReceiver)
        m_relayReceiver = std::make_unique<RelayFileReceiver>(receiver);
    m_server.setReceiver(kRelayFileMessage, m_relayReceiver.get());
    if (!m_server.isListening() && !m_server.listen(m_name)) {
        m_error = m_server.errorString();
        return false;
    }
    return true;
}

} // namespace glimmerix
