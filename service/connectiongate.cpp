#include "connectiongate.h"

#include <httplib.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

namespace
{

using Clock = std::chrono::steady_clock;

constexpr int kRefusedLingerMs = 1000;

struct Connection {
    int socket = -1; // our own duplicate, so the number stays ours until the gate lets it go
    std::string peer;
    Clock::time_point deadline;
    bool refused = false;
};

// Every open connection and its deadline; a watchdog thread shuts down those that are late.
class Gate
{
public:
    Gate()
    {
        std::thread([this] { watch(); }).detach();
    }

    // A new connection from `peer` on `socket`: its number, or 0 when it must be closed.
    std::uint64_t admit(int socket, const std::string &peer)
    {
        const std::lock_guard lock(m_mutex);
        int &fromPeer = m_perPeer[peer];
        if (int(m_open.size()) >= kMaxConnections || fromPeer >= kMaxConnectionsPerPeer) {
            if (fromPeer == 0)
                m_perPeer.erase(peer);
            return 0;
        }
        const int own = ::dup(socket);
        if (own < 0) {
            if (fromPeer == 0)
                m_perPeer.erase(peer);
            return 0;
        }
        ++fromPeer;
        const std::uint64_t id = ++m_lastId;
        m_open[id] = { own, peer, Clock::now() + std::chrono::seconds(kHeaderSeconds) };
        m_wake.notify_one();
        return id;
    }

    void release(std::uint64_t id)
    {
        bool linger = false;
        {
            const std::lock_guard lock(m_mutex);
            const auto found = m_open.find(id);
            linger = found != m_open.end() && found->second.refused;
        }
        // A refused request's reply and end have gone out, but the body the client is still
        // sending would make the system answer with a reset that can wipe that reply before the
        // client reads it: the socket stays open a moment longer.
        if (linger)
            std::this_thread::sleep_for(std::chrono::milliseconds(kRefusedLingerMs));
        const std::lock_guard lock(m_mutex);
        const auto found = m_open.find(id);
        if (found == m_open.end())
            return;
        ::close(found->second.socket);
        if (--m_perPeer[found->second.peer] <= 0)
            m_perPeer.erase(found->second.peer);
        m_open.erase(found);
    }

    // The connection's next deadline is `seconds` from now.
    void allow(std::uint64_t id, std::chrono::seconds seconds)
    {
        const std::lock_guard lock(m_mutex);
        const auto found = m_open.find(id);
        if (found != m_open.end())
            found->second.deadline = Clock::now() + seconds;
        m_wake.notify_one();
    }

    // The request is refused: once its reply is out, nothing more is read from the connection,
    // whatever the client still sends.
    void refuse(std::uint64_t id)
    {
        const std::lock_guard lock(m_mutex);
        const auto found = m_open.find(id);
        if (found != m_open.end())
            found->second.refused = true;
    }

    // A reply went out: the next request's headers are due as on a new connection, unless the
    // request was refused.
    void replied(std::uint64_t id)
    {
        const std::lock_guard lock(m_mutex);
        const auto found = m_open.find(id);
        if (found == m_open.end())
            return;
        if (found->second.refused) {
            ::shutdown(found->second.socket, SHUT_RD);
            return;
        }
        found->second.deadline = Clock::now() + std::chrono::seconds(kHeaderSeconds);
        m_wake.notify_one();
    }

private:
    void watch()
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            Clock::time_point next = Clock::now() + std::chrono::seconds(1);
            const Clock::time_point now = Clock::now();
            for (auto &[id, connection] : m_open) {
                if (connection.deadline <= now) {
                    // Both ways: a blocked read or write in the connection's thread returns
                    // at once and the connection ends.
                    ::shutdown(connection.socket, SHUT_RDWR);
                    connection.deadline = Clock::time_point::max();
                }
                next = std::min(next, connection.deadline);
            }
            m_wake.wait_until(lock, next);
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::map<std::uint64_t, Connection> m_open;
    std::map<std::string, int> m_perPeer;
    std::uint64_t m_lastId = 0;
};

// Made once and never destroyed: its watchdog runs until the program ends.
Gate &gate()
{
    static Gate *const instance = new Gate;
    return *instance;
}

// On the listening thread: the connection accept() has just let in, for the task queue's
// enqueue() that follows it there.
thread_local std::uint64_t t_accepted = 0;
// On a connection's thread: its connection.
thread_local std::uint64_t t_current = 0;

std::atomic<int> g_listener = -1;

std::string peerName(const sockaddr_storage &address)
{
    char text[INET6_ADDRSTRLEN] = {};
    if (address.ss_family == AF_INET)
        ::inet_ntop(
            AF_INET, &reinterpret_cast<const sockaddr_in &>(address).sin_addr, text, sizeof text);
    else if (address.ss_family == AF_INET6)
        ::inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6 &>(address).sin6_addr, text,
            sizeof text);
    return text;
}

// A thread for each connection; the gate bounds how many there are.
class ConnectionThreads final : public httplib::TaskQueue
{
public:
    void enqueue(std::function<void()> task) override
    {
        const std::uint64_t id = std::exchange(t_accepted, 0);
        {
            const std::lock_guard lock(m_mutex);
            ++m_running;
        }
        std::thread([this, id, task = std::move(task)] {
            t_current = id;
            task();
            gate().release(id);
            const std::lock_guard lock(m_mutex);
            if (--m_running == 0)
                m_done.notify_all();
        }).detach();
    }

    void shutdown() override
    {
        std::unique_lock lock(m_mutex);
        m_done.wait(lock, [this] { return m_running == 0; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    int m_running = 0;
};

std::chrono::seconds transferTime(std::size_t bytes)
{
    return std::chrono::seconds(kTransferSeconds + bytes / kMinBytesPerSecond);
}

httplib::Server::HandlerResponse refuse(httplib::Response &response, int status)
{
    response.status = status;
    response.set_header("Connection", "close");
    gate().refuse(t_current);
    return httplib::Server::HandlerResponse::Handled;
}

} // namespace

// cpp-httplib accepts connections through the C library's accept(); this program's own
// definition sees each one first, so the gate can count it, give it a deadline or close it.
extern "C" int accept(int listener, sockaddr *address, socklen_t *length)
{
    for (;;) {
        sockaddr_storage peer {};
        socklen_t peerLength = sizeof peer;
        const int socket = ::accept4(listener, reinterpret_cast<sockaddr *>(&peer), &peerLength, 0);
        if (socket < 0)
            return socket;
        if (address && length) {
            std::memcpy(address, &peer, std::min(*length, peerLength));
            *length = peerLength;
        }
        const std::uint64_t id = gate().admit(socket, peerName(peer));
        if (id != 0) {
            t_accepted = id;
            return socket;
        }
        ::close(socket);
    }
}

void installConnectionGate(httplib::Server &server, std::size_t maxBodyBytes)
{
    server.new_task_queue = [] { return new ConnectionThreads; };
    server.set_socket_options([](int socket) {
        httplib::default_socket_options(socket);
        g_listener = socket;
    });
    server.set_read_timeout(kHeaderSeconds, 0);
    server.set_write_timeout(kTransferSeconds, 0);
    server.set_keep_alive_timeout(kHeaderSeconds);
    server.set_payload_max_length(maxBodyBytes);
    // Once the headers are in: a body too long or of no stated length is refused unread;
    // otherwise it gets the time its length needs.
    server.set_pre_routing_handler(
        [maxBodyBytes](const httplib::Request &request, httplib::Response &response) {
            if (request.has_header("Transfer-Encoding"))
                return refuse(response, 411);
            const std::string text = request.get_header_value("Content-Length");
            const unsigned long long length = std::strtoull(text.c_str(), nullptr, 10);
            if (length > maxBodyBytes)
                return refuse(response, 413);
            gate().allow(t_current, transferTime(length));
            return httplib::Server::HandlerResponse::Unhandled;
        });
    // The reply gets the time its length needs.
    server.set_post_routing_handler([](const httplib::Request &, httplib::Response &response) {
        gate().allow(
            t_current, transferTime(std::max(response.body.size(), response.content_length_)));
    });
    // After a reply the next request's headers are due as for a new connection.
    server.set_logger(
        [](const httplib::Request &, const httplib::Response &) { gate().replied(t_current); });
}

void raiseListenBacklog()
{
    if (g_listener >= 0)
        ::listen(g_listener, SOMAXCONN);
}
