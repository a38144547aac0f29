#pragma once

#include <cstddef>

namespace httplib
{
class Server;
}

// Keeps the service answering while some clients connect and then stall, trickle a byte at a
// time or send without end. cpp-httplib gives a connection a thread until it ends and has no
// hook where connections are accepted, so the gate wraps the C library's accept() for this
// program (connectiongate.cpp) and:
//  - runs every connection on a thread of its own, at most kMaxConnections at once;
//  - lets one peer address hold at most kMaxConnectionsPerPeer connections, closing more at once;
//  - shuts a connection down when it is late: the TLS handshake, the request line and the
//    headers must arrive within kHeaderSeconds of the connection (or of the reply before on the
//    same connection); the body and the reply then get kTransferSeconds plus one second for
//    every kMinBytesPerSecond of their length;
//  - refuses a body longer than `maxBodyBytes` (413) and a chunked body (411) from its headers,
//    before reading any of it, and closes that connection.
inline constexpr int kMaxConnections = 256;
inline constexpr int kMaxConnectionsPerPeer = 16;
inline constexpr int kHeaderSeconds = 5;
inline constexpr int kTransferSeconds = 5;
inline constexpr std::size_t kMinBytesPerSecond = 16 * 1024;

// Puts the gate on `server`: its task queue, socket options and pre- and post-routing handlers.
// Call before binding; after binding, raiseListenBacklog() lets a burst of connections wait in
// the system's queue instead of being retried by their clients a second later.
void installConnectionGate(httplib::Server &server, std::size_t maxBodyBytes);
void raiseListenBacklog();
