#pragma once

#include "instancechannel.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace glimmerix
{

// Handing a file to the running instance: the sender writes the path into the relay file as one
// fixed 260-byte record (the path's bytes, then a terminating zero, then zero filling), sends
// message 1034 over the instance channel and waits until the receiver has read the record and
// passed the path on. Only one path is in flight at a time.

inline constexpr qsizetype kRelayRecordSize = 260;
inline constexpr std::uint32_t kRelayFileMessage = 0x400 + 10; // 1034
inline constexpr const char *kRelayFileName = "Tessrelay.tmp";

// <instance folder>/Tessrelay.tmp; empty when there is no private instance folder.
QString relayFilePath();

// The record for `path` (its UTF-8 bytes), or nothing when the path is empty, holds a zero byte,
// or is longer than 259 bytes: a path is never cut to fit.
std::optional<QByteArray> encodeRelayRecord(const QString &path);
// The path in `record`, or nothing when the record is not exactly 260 bytes, has no terminating
// zero, holds an empty path or bytes that are not valid UTF-8.
std::optional<QString> decodeRelayRecord(const QByteArray &record);

// Writes the record for `path` to `relayPath`, replacing what was there. False (with `error`
// set) when the path cannot be encoded or the file cannot be written.
bool writeRelayFile(const QString &relayPath, const QString &path, QString *error = nullptr);
// Reads the record from `relayPath`; nothing when the file is missing, unreadable, of the wrong
// size or malformed. Never reads more than one record's bytes plus one.
std::optional<QString> readRelayFile(const QString &relayPath);

// Where the receiving instance passes each handed-over path (the main window adds it to the
// album and comes to the front).
class HandoverReceiver
{
public:
    virtual ~HandoverReceiver() = default;
    virtual void receiveHandedOverFile(const QString &path) = 0;
};

// Answers message 1034: reads the relay record and passes its path to the HandoverReceiver
// (result 1), or passes nothing when the record cannot be had (result 0). The relay file is
// removed once read, so a repeated message can never hand the same path on twice.
class RelayFileReceiver final : public InstanceMessageReceiver
{
public:
    explicit RelayFileReceiver(HandoverReceiver *target, QString relayPath = relayFilePath());
    std::int64_t handleInstanceMessage(std::uint32_t number, std::int64_t wparam,
        std::int64_t lparam, const QByteArray &payload) override;

private:
    HandoverReceiver *m_target;
    QString m_relayPath;
};

// What the sending side achieved.
struct HandoverResult {
    QStringList handedOver; // received by the running instance, in order
    QStringList refused; // paths too long for a record (the user was told)
    QStringList notSent; // left over because the running instance could not be reached
    QString error; // why the rest was not sent
    bool complete() const { return notSent.isEmpty(); }
};

// Hands `files` to the instance listening as `instanceName`, one after another in order, each
// waiting until the receiver has handled it. A path too long for the record is refused with
// message 59001 and skipped. When a send fails, the remaining files (that one included) come
// back in `notSent`. Senders from several processes take turns through a lock next to the
// relay file, so they never overwrite each other's record.
HandoverResult handOverFiles(
    const QString &instanceName, const QStringList &files, int timeoutMs = kDefaultReplyTimeoutMs);

} // namespace glimmerix
