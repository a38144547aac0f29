#include "commandtable.h"

#include "platform/strings.h"

#include <QCoreApplication>

#include <algorithm>

MenuSpec standardMenu(const char *key)
{
    struct Standard {
        const char *key;
        const char *text;
    };
    static constexpr Standard menus[] = {
        { kFileMenu, QT_TRANSLATE_NOOP("CMainFrame", "&File") },
        { kEditMenu, QT_TRANSLATE_NOOP("CMainFrame", "&Edit") },
        { kAlbumMenu, QT_TRANSLATE_NOOP("CMainFrame", "&Album") },
        { kItemMenu, QT_TRANSLATE_NOOP("CMainFrame", "&Item") },
        { kHelpMenu, QT_TRANSLATE_NOOP("CMainFrame", "&Help") },
    };
    for (int index = 0; index < int(std::size(menus)); ++index) {
        if (qstrcmp(menus[index].key, key) == 0)
            return { QString::fromLatin1(key),
                QCoreApplication::translate("CMainFrame", menus[index].text), (index + 1) * 100 };
    }
    return { QString::fromLatin1(key), QString::fromLatin1(key), 1000 };
}

bool CommandTable::add(CommandSet set)
{
    for (const CommandSpec &spec : set.commands) {
        if (command(spec.id))
            return false;
    }
    for (const MenuSpec &menu : set.menus) {
        const bool known = std::any_of(m_menus.cbegin(), m_menus.cend(),
            [&menu](const MenuSpec &present) { return present.key == menu.key; });
        if (!known)
            m_menus.append(menu);
    }
    for (CommandSpec &spec : set.commands)
        m_commands.push_back(std::move(spec));
    return true;
}

const CommandSpec *CommandTable::command(int id) const
{
    const auto found = std::find_if(m_commands.cbegin(), m_commands.cend(),
        [id](const CommandSpec &spec) { return spec.id == id; });
    return found == m_commands.cend() ? nullptr : &*found;
}

QList<const CommandSpec *> CommandTable::commands() const
{
    QList<const CommandSpec *> all;
    for (const CommandSpec &spec : m_commands)
        all.append(&spec);
    return all;
}

QList<MenuSpec> CommandTable::menus() const
{
    QList<MenuSpec> sorted = m_menus;
    std::stable_sort(sorted.begin(), sorted.end(),
        [](const MenuSpec &a, const MenuSpec &b) { return a.position < b.position; });
    return sorted;
}

QList<const CommandSpec *> CommandTable::menuCommands(const QString &key) const
{
    QList<const CommandSpec *> inMenu;
    for (const CommandSpec &spec : m_commands) {
        if (spec.place.menu == key)
            inMenu.append(&spec);
    }
    std::stable_sort(inMenu.begin(), inMenu.end(), [](const CommandSpec *a, const CommandSpec *b) {
        return a->place.position < b->place.position;
    });
    return inMenu;
}

QList<const CommandSpec *> CommandTable::albumBarCommands() const
{
    QList<const CommandSpec *> onBar;
    for (const CommandSpec &spec : m_commands) {
        if (spec.albumBarPosition >= 0)
            onBar.append(&spec);
    }
    std::stable_sort(onBar.begin(), onBar.end(), [](const CommandSpec *a, const CommandSpec *b) {
        return a->albumBarPosition < b->albumBarPosition;
    });
    return onBar;
}

QString CommandTable::menuText(const CommandSpec &command)
{
    return command.textId != 0 ? loadString(command.textId) : command.text;
}
