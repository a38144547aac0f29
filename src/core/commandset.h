#pragma once

#include <QIcon>
#include <QKeySequence>
#include <QList>
#include <QString>

#include <functional>

namespace glimmerix
{

// The parts of a command table entry. They live here, below every folder, so that each folder's
// ui library can build its own CommandSet; the main window only collects the sets
// (app/commandtable.h).

// The menus every window has, by key. A set may add menus of its own with new keys.
inline constexpr const char *kFileMenu = "file";
inline constexpr const char *kEditMenu = "edit";
inline constexpr const char *kAlbumMenu = "album";
inline constexpr const char *kItemMenu = "item";
inline constexpr const char *kHelpMenu = "help";

// A menu of the menu bar: its key, its text and its place from the left (smaller first).
struct MenuEntry {
    QString key;
    QString text;
    int position = 0;
};

// Where a command shows: the menu's key (empty: in no menu) and its position in that menu.
// Commands are ordered by position; a separator stands between positions of different hundreds.
struct MenuPlace {
    QString menu;
    int position = 0;
};

// One command: its number, its menu text (string `textId` of the language bundle when the
// program has one for it, else `text`), what it does, when it is enabled (always when empty),
// where it shows and its shortcut and icon.
struct CommandEntry {
    int id = 0;
    int textId = 0;
    QString text;
    std::function<void()> run;
    std::function<bool()> isEnabled;
    MenuPlace place;
    QKeySequence shortcut;
    QIcon icon;
    // Place on the album bar from the left; -1: not on it.
    int albumBarPosition = -1;
};

// The commands one subsystem contributes, with the menus they need.
struct CommandSet {
    QString name;
    QList<MenuEntry> menus;
    QList<CommandEntry> commands;
};

// The standard menu `key` (kFileMenu ... kHelpMenu) with its text and place.
MenuEntry standardMenu(const char *key);

} // namespace glimmerix
