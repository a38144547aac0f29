#pragma once

// One reader for a command's options, so each command only lists its options and what they do,
// and every command words its usage errors the same way.

#include <QLatin1StringView>
#include <QList>
#include <QStringList>

#include <functional>
#include <optional>

// One option of a command. A handler that refuses the value reports the usage error itself and
// returns false.
struct CliOption {
    QLatin1StringView name; // "--items"
    bool takesValue;
    std::function<bool(const QString &value)> handle;
};

// An option without a value.
CliOption cliFlag(const char *name, std::function<void()> set);
// An option with the argument that follows it as its value.
CliOption cliValue(const char *name, std::function<bool(const QString &value)> take);
// An option whose value is kept in `target` as given.
CliOption cliText(const char *name, QString &target);
CliOption cliText(const char *name, std::optional<QString> &target);
// An option whose value is a file path, kept in `target` made absolute.
CliOption cliPath(const char *name, QString &target);

// Hands each option in `args` to its handler and returns the other arguments in order. An
// argument starting with "--" that is no option ("unknown option --x"), an option with nothing
// after it ("--x needs a value") or a refused value is a usage error of `command`: nullopt.
std::optional<QStringList> readCliOptions(
    const QString &command, const QStringList &args, const QList<CliOption> &options);
