#include "commandtable.h"

#include "platform/strings.h"

#include <QCoreApplication>

#include <algorithm>

namespace glimmerix
{

bool CommandTable::add(CommandSet set)
{
    for (const CommandEntry &entry : set.commands) {
        if (command(entry.id))
            return false;
    }
    for (const MenuEntry &menu : set.menus) {
        const bool known = std::any_of(m_menus.cbegin(), m_menus.cend(),
            [&menu](const MenuEntry &present) { return present.key == menu.key; });
        if (!known)
            m_menus.append(menu);
    }
    for (CommandEntry &entry : set.commands)
        m_commands.push_back(std::move(entry));
    return true;
}

const CommandEntry *CommandTable::command(int id) const
{
    const auto found = std::find_if(m_commands.cbegin(), m_commands.cend(),
        [id](const CommandEntry &entry) { return entry.id == id; });
    return found == m_commands.cend() ? nullptr : &*found;
}

QList<const CommandEntry *> CommandTable::commands() const
{
    QList<const CommandEntry *> all;
    for (const CommandEntry &entry : m_commands)
        all.append(&entry);
    return all;
}

QList<MenuEntry> CommandTable::menus() const
{
    QList<MenuEntry> sorted = m_menus;
    std::stable_sort(sorted.begin(), sorted.end(),
        [](const MenuEntry &a, const MenuEntry &b) { return a.position < b.position; });
    return sorted;
}

QList<const CommandEntry *> CommandTable::menuCommands(const QString &key) const
{
    QList<const CommandEntry *> inMenu;
    for (const CommandEntry &entry : m_commands) {
        if (entry.place.menu == key)
            inMenu.append(&entry);
    }
    std::stable_sort(
        inMenu.begin(), inMenu.end(), [](const CommandEntry *a, const CommandEntry *b) {
            return a->place.position < b->place.position;
        });
    return inMenu;
}

QList<const CommandEntry *> CommandTable::albumBarCommands() const
{
    QList<const CommandEntry *> onBar;
    for (const CommandEntry &entry : m_commands) {
        if (entry.albumBarPosition >= 0)
            onBar.append(&entry);
    }
    std::stable_sort(onBar.begin(), onBar.end(), [](const CommandEntry *a, const CommandEntry *b) {
        return a->albumBarPosition < b->albumBarPosition;
    });
    return onBar;
}

QString CommandTable::menuText(const CommandEntry &command)
{
    return command.textId != 0 ? loadString(command.textId) : command.text;
}

} // namespace glimmerix
