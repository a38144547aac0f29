#pragma once

#include "core/commandset.h"

#include <QList>
#include <QString>

#include <functional>
#include <vector>

namespace glimmerix
{

// Every command of the program, gathered from the subsystems' sets. The main window builds its
// menus, bars and enable pass from it, so a subsystem adds commands by adding a set.
class CommandTable
{
public:
    // Adds the set's menus (a key already known keeps its first definition) and commands. A
    // command number that is already taken refuses the whole set: returns false, adds nothing.
    bool add(CommandSet set);

    // The command `id`, or nullptr.
    const CommandEntry *command(int id) const;
    // Every command, in the order the sets added them.
    QList<const CommandEntry *> commands() const;
    // The menus from left to right.
    QList<MenuEntry> menus() const;
    // The commands of menu `key` in their order.
    QList<const CommandEntry *> menuCommands(const QString &key) const;
    // The commands on the album bar from the left.
    QList<const CommandEntry *> albumBarCommands() const;
    // The command's menu text: its bundle string, or its own text.
    static QString menuText(const CommandEntry &command);
    // Whether a separator goes between two neighbours placed at `before` and `after`.
    static bool separatesGroups(int before, int after) { return before / 100 != after / 100; }

private:
    std::vector<CommandEntry> m_commands;
    QList<MenuEntry> m_menus;
};

} // namespace glimmerix
