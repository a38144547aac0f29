#pragma once

#include <QByteArray>
#include <QString>

// Salted slow password hashes for the service's users (scrypt through OpenSSL). A stored hash is
// one line: "scrypt$N$r$p$SALT$KEY" with salt and key in hex.

// A new hash of `password` with a fresh random salt; empty when the system's random source or
// the hash failed.
QByteArray hashPassword(const QString &password);
// True when `password` matches `stored` (compared in constant time). A malformed stored line
// matches nothing.
bool verifyPassword(const QString &password, const QByteArray &stored);
// Does the work of verifyPassword against a hash of the service's own cost, for a user who does
// not exist: a login for an unknown name then takes as long as a wrong password, and the time
// tells no one which names exist. Always false.
bool verifyAgainstNoUser(const QString &password);
