// `glimix-cli completion bash`: the bash completion script, made from the same command table
// that prints --help, so a new command completes as soon as it is registered. The build runs
// it once to make the installed script.

#include "clicommand.h"

#include <QRegularExpression>

#include <algorithm>

namespace
{

// The words a command's second argument can be: a lower-case word that follows the command's
// name in its synopsis or in a detail line ("album new ALBUM"), or that starts one of the
// synopsis's "|" alternatives ("settings show | set-labels ...").
QStringList subcommandsOf(const CliCommand &command)
{
    static const QRegularExpression word(QStringLiteral("^[a-z][a-z0-9-]*$"));
    QStringList found;
    const auto take = [&found](const QString &candidate) {
        if (word.match(candidate).hasMatch() && !found.contains(candidate))
            found.append(candidate);
    };
    const QStringList alternatives = command.synopsis.split(u'|');
    for (qsizetype i = 0; i < alternatives.size(); ++i) {
        const QStringList words = alternatives.at(i).split(u' ', Qt::SkipEmptyParts);
        if (i == 0 && words.size() > 1)
            take(words.at(1));
        else if (i > 0 && !words.isEmpty())
            take(words.first());
    }
    for (const QString &line : command.details.split(u'\n')) {
        const QStringList words = line.split(u' ', Qt::SkipEmptyParts);
        if (words.size() > 1 && words.first() == command.name)
            take(words.at(1));
    }
    return found;
}

// Every "--option" the synopsis and the details name.
QStringList optionsOf(const CliCommand &command)
{
    static const QRegularExpression option(QStringLiteral("--[a-z0-9][a-z0-9-]*"));
    QStringList found;
    for (const QString &text : { command.synopsis, command.details }) {
        for (const QRegularExpressionMatch &match : option.globalMatch(text)) {
            if (!found.contains(match.captured()))
                found.append(match.captured());
        }
    }
    return found;
}

QString bashCompletionScript(std::vector<CliCommand> commands)
{
    std::sort(commands.begin(), commands.end(),
        [](const CliCommand &a, const CliCommand &b) { return a.name < b.name; });
    QStringList names;
    QString cases;
    for (const CliCommand &command : commands) {
        names.append(command.name);
        cases += QStringLiteral("        %1) subcommands=\"%2\"; options=\"%3\" ;;\n")
                     .arg(command.name, subcommandsOf(command).join(u' '),
                         optionsOf(command).join(u' '));
    }
    return QStringLiteral(
        "# bash completion for glimix-cli (made by `glimix-cli completion bash` from the tool's\n"
        "# command table). Positions that take files complete file names.\n"
        "_glimix_cli()\n"
        "{\n"
        "    local cur=${COMP_WORDS[COMP_CWORD]}\n"
        "    if ((COMP_CWORD == 1)); then\n"
        "        COMPREPLY=($(compgen -W \"%1 --help --version\" -- \"$cur\"))\n"
        "        return\n"
        "    fi\n"
        "    local subcommands='' options=''\n"
        "    case ${COMP_WORDS[1]} in\n"
        "%2"
        "    esac\n"
        "    if [[ $cur == -* ]]; then\n"
        "        COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
        "    elif ((COMP_CWORD == 2)) && [[ -n $subcommands ]]; then\n"
        "        COMPREPLY=($(compgen -W \"$subcommands\" -- \"$cur\"))\n"
        "    else\n"
        "        COMPREPLY=()\n"
        "    fi\n"
        "}\n"
        "complete -o default -F _glimix_cli glimix-cli\n")
        .arg(names.join(u' '), cases);
}

int runCompletion(const QStringList &args)
{
    if (args != QStringList { QStringLiteral("bash") })
        return cliUsageError(QStringLiteral("completion"), QStringLiteral("say: completion bash"));
    cliOut(bashCompletionScript(cliCommands()));
    return 0;
}

const CliRegistration registration(
    { QStringLiteral("completion"), QStringLiteral("completion bash"),
        QStringLiteral("print the bash completion script for this tool"), {}, runCompletion });

} // namespace
