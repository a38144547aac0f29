#pragma once

#include <QHash>
#include <QString>

#include <chrono>
#include <mutex>

// Slows down password guessing. Failed logins are counted per user name and per peer address;
// past a few free failures, each further failure makes that name or address wait before its
// next login is even checked: 2 seconds, then 4, 8, ... up to a minute. Nothing is locked for
// good: a success clears the user's count, and counts are forgotten after 15 quiet minutes.
class LoginLimiter
{
public:
    static constexpr int kFreeFailuresPerUser = 5;
    static constexpr int kFreeFailuresPerPeer = 10;
    static constexpr int kLongestWaitSeconds = 60;

    using Clock = std::chrono::steady_clock;

    // Seconds `user` from `peer` must still wait before a login is checked; 0 when it may go on.
    int secondsToWait(
        const QString &user, const QString &peer, Clock::time_point now = Clock::now());
    // Counts a failed login; returns the user's failures so far.
    int failed(const QString &user, const QString &peer, Clock::time_point now = Clock::now());
    void succeeded(const QString &user);

private:
    struct Record {
        int failures = 0;
        Clock::time_point last;
        Clock::time_point waitUntil;
    };
    int count(Record &record, int freeFailures, Clock::time_point now);

    std::mutex m_mutex;
    QHash<QString, Record> m_users;
    QHash<QString, Record> m_peers;
};
