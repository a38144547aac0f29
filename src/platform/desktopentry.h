#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace glimmerix
{

// Desktop entries (".desktop" files): what they say about starting their program, and how their
// Exec= line becomes a program and its arguments.

// What a ".desktop" file says about starting its program.
struct DesktopEntry {
    QString name;
    QString icon;
    QString exec;
    QString path;
    bool valid = false; // a [Desktop Entry] group with an Exec= key was found
};
DesktopEntry parseDesktopEntry(const QByteArray &contents);
bool isDesktopEntryPath(const QString &path);

// Splits an Exec= value into program and arguments by the desktop-entry quoting rules (blanks
// separate, double quotes group, backslash escapes inside quotes) and fills the field codes: %f
// and %u take the first file, %F and %U all of them, %% is a percent sign, %c the `name`, %k
// the `desktopFile`, %i the icon; other codes vanish. When the line has no file code the files
// are appended. An empty list means the line is malformed (an unterminated quote).
QStringList expandExecLine(const QString &exec, const QStringList &files, const QString &name = {},
    const QString &icon = {}, const QString &desktopFile = {});

} // namespace glimmerix
