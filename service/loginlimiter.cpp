#include "loginlimiter.h"

#include <algorithm>

namespace
{

constexpr auto kForgetAfter = std::chrono::minutes(15);

int secondsUntil(LoginLimiter::Clock::time_point until, LoginLimiter::Clock::time_point now)
{
    if (until <= now)
        return 0;
    // Rounded up, so a client that waits as told is let in.
    return int(std::chrono::ceil<std::chrono::seconds>(until - now).count());
}

} // namespace

int LoginLimiter::secondsToWait(const QString &user, const QString &peer, Clock::time_point now)
{
    const std::lock_guard lock(m_mutex);
    int wait = 0;
    const auto byUser = m_users.constFind(user);
    if (byUser != m_users.constEnd())
        wait = secondsUntil(byUser->waitUntil, now);
    const auto byPeer = m_peers.constFind(peer);
    if (byPeer != m_peers.constEnd())
        wait = std::max(wait, secondsUntil(byPeer->waitUntil, now));
    return wait;
}

int LoginLimiter::count(Record &record, int freeFailures, Clock::time_point now)
{
    if (record.failures > 0 && now - record.last > kForgetAfter)
        record = {};
    ++record.failures;
    record.last = now;
    const int over = record.failures - freeFailures;
    if (over >= 0)
        record.waitUntil
            = now + std::chrono::seconds(std::min(kLongestWaitSeconds, 2 << std::min(over, 5)));
    return record.failures;
}

int LoginLimiter::failed(const QString &user, const QString &peer, Clock::time_point now)
{
    const std::lock_guard lock(m_mutex);
    // Forgotten names and addresses are dropped now and then, so guessing at many names
    // cannot grow the tables without end.
    for (auto *table : { &m_users, &m_peers }) {
        if (table->size() < 10000)
            continue;
        for (auto it = table->begin(); it != table->end();)
            it = now - it->last > kForgetAfter ? table->erase(it) : std::next(it);
    }
    count(m_peers[peer], kFreeFailuresPerPeer, now);
    return count(m_users[user], kFreeFailuresPerUser, now);
}

void LoginLimiter::succeeded(const QString &user)
{
    const std::lock_guard lock(m_mutex);
    m_users.remove(user);
}
