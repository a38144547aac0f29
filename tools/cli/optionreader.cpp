#include "optionreader.h"

#include "clicommand.h"

#include <QFileInfo>

#include <algorithm>

CliOption cliFlag(const char *name, std::function<void()> set)
{
    return { QLatin1StringView(name), false, [set = std::move(set)](const QString &) {
                set();
                return true;
            } };
}

CliOption cliValue(const char *name, std::function<bool(const QString &value)> take)
{
    return { QLatin1StringView(name), true, std::move(take) };
}

CliOption cliText(const char *name, QString &target)
{
    return cliValue(name, [&target](const QString &value) {
        target = value;
        return true;
    });
}

CliOption cliText(const char *name, std::optional<QString> &target)
{
    return cliValue(name, [&target](const QString &value) {
        target = value;
        return true;
    });
}

CliOption cliPath(const char *name, QString &target)
{
    return cliValue(name, [&target](const QString &value) {
        target = QFileInfo(value).absoluteFilePath();
        return true;
    });
}

std::optional<QStringList> readCliOptions(
    const QString &command, const QStringList &args, const QList<CliOption> &options)
{
    QStringList others;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        const auto option = std::find_if(options.begin(), options.end(),
            [&arg](const CliOption &known) { return arg == known.name; });
        if (option == options.end()) {
            if (arg.startsWith(QLatin1String("--"))) {
                cliUsageError(command, QStringLiteral("unknown option ") + arg);
                return std::nullopt;
            }
            others.append(arg);
            continue;
        }
        if (option->takesValue && i + 1 >= args.size()) {
            cliUsageError(command, arg + QStringLiteral(" needs a value"));
            return std::nullopt;
        }
        if (!option->handle(option->takesValue ? args.at(++i) : QString()))
            return std::nullopt;
    }
    return others;
}
