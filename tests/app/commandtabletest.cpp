#include "app/commandtable.h"

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

CommandEntry command(int id, const char *menu, int position)
{
    return { id, 0, QString::number(id), [] {}, {}, { QString::fromLatin1(menu), position } };
}

} // namespace

TEST(CommandTable, SetsFillMenusInOrderAndANumberIsTakenOnce)
{
    CommandTable table;
    ASSERT_TRUE(table.add({ QStringLiteral("late"), { standardMenu(kHelpMenu) },
        { command(3, kHelpMenu, 200), command(4, kFileMenu, 100) } }));
    // A later set places a command in front of an earlier set's and brings a menu of its own.
    ASSERT_TRUE(table.add({ QStringLiteral("early"),
        { standardMenu(kFileMenu), { QStringLiteral("tools"), QStringLiteral("&Tools"), 450 } },
        { command(1, kHelpMenu, 100), command(2, "tools", 100) } }));
    // A number that is taken refuses the whole set.
    EXPECT_FALSE(table.add({ QStringLiteral("clash"), {},
        { command(5, kFileMenu, 300), command(1, kFileMenu, 310) } }));
    EXPECT_EQ(table.command(5), nullptr);

    QStringList menus;
    for (const MenuEntry &menu : table.menus())
        menus << menu.key;
    EXPECT_EQ(menus, (QStringList { "file", "tools", "help" }));
    QList<int> help;
    for (const CommandEntry *entry : table.menuCommands(QString::fromLatin1(kHelpMenu)))
        help << entry->id;
    EXPECT_EQ(help, (QList<int> { 1, 3 }));
    EXPECT_TRUE(CommandTable::separatesGroups(100, 200));
    EXPECT_FALSE(CommandTable::separatesGroups(100, 199));
}
