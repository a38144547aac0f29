#include "relayfile.h"

#include "instancelock.h"
#include "paths.h"
#include "platform/fillin.h"
#include "savefilecommit.h"

#include <QFile>
#include <QSaveFile>

namespace glimmerix
{

QString relayFilePath()
{
    const QString folder = instanceFolder();
    return folder.isEmpty() ? QString() : joinPath(folder, QString::fromLatin1(kRelayFileName));
}

std::optional<QByteArray> encodeRelayRecord(const QString &path)
{
    const QByteArray bytes = QFile::encodeName(path);
    if (bytes.isEmpty() || bytes.contains('\0') || bytes.size() >= kRelayRecordSize)
        return std::nullopt;
    QByteArray record(kRelayRecordSize, '\0');
    std::copy(bytes.cbegin(), bytes.cend(), record.begin());
    return record;
}

std::optional<QString> decodeRelayRecord(const QByteArray &record)
{
    if (record.size() != kRelayRecordSize)
        return std::nullopt;
    const qsizetype end = record.indexOf('\0');
    if (end <= 0)
        return std::nullopt; // no terminator, or an empty path
    // Bytes that are not a valid file name text would come out changed and name another file.
    const QByteArray bytes = record.left(end);
    const QString path = QFile::decodeName(bytes);
    if (QFile::encodeName(path) != bytes)
        return std::nullopt;
    return path;
}

bool writeRelayFile(const QString &relayPath, const QString &path, QString *error)
{
    const std::optional<QByteArray> record = encodeRelayRecord(path);
    if (!record) {
        if (error)
            *error = fillIn(
                QStringLiteral("%1 cannot be stored in a %2-byte record"), path, kRelayRecordSize);
        return false;
    }
    QSaveFile file(relayPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(*record) != kRelayRecordSize
        || !commitSaveFile(file)) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(relayPath, file.errorString());
        return false;
    }
    return true;
}

std::optional<QString> readRelayFile(const QString &relayPath)
{
    QFile file(relayPath);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return decodeRelayRecord(file.read(kRelayRecordSize + 1));
}

RelayFileReceiver::RelayFileReceiver(HandoverReceiver *target, QString relayPath)
    : m_target(target)
    , m_relayPath(std::move(relayPath))
{
}

std::int64_t RelayFileReceiver::handleInstanceMessage(
    std::uint32_t, std::int64_t, std::int64_t, const QByteArray &)
{
    if (m_relayPath.isEmpty())
        return 0;
    const std::optional<QString> path = readRelayFile(m_relayPath);
    QFile::remove(m_relayPath);
    if (!path || !m_target)
        return 0;
    m_target->receiveHandedOverFile(*path);
    return 1;
}

HandoverResult handOverFiles(const QString &instanceName, const QStringList &files, int timeoutMs)
{
    HandoverResult result;
    const QString relayPath = relayFilePath();
    InstanceLock turn(QString::fromLatin1(kRelayFileName));
    if (relayPath.isEmpty() || !turn.tryLock(timeoutMs)) {
        result.notSent = files;
        result.error = relayPath.isEmpty()
            ? QStringLiteral("no private instance folder for the relay file")
            : turn.errorString();
        return result;
    }
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString &file = files.at(i);
        if (!encodeRelayRecord(file)) {
            result.refused.append(file);
            continue;
        }
        QString error;
        InstanceReply reply;
        if (writeRelayFile(relayPath, file, &error)) {
            reply = sendInstanceMessage(instanceName, kRelayFileMessage, 0, 0, {}, timeoutMs);
            error = reply.delivered && !reply.handled
                ? QStringLiteral("the running instance does not take files")
                : reply.error;
        }
        if (!reply.handled) {
            result.notSent = files.mid(i);
            result.error = error;
            return result;
        }
        result.handedOver.append(file);
    }
    return result;
}

} // namespace glimmerix
