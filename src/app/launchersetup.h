#pragma once

#include "launcherlayout.h"

#include <QList>
#include <QSize>
#include <QString>

namespace glimmerix
{

// The launcher set-up dialog's rules without a window. The dialog works on copies of the
// programs: adding, replacing and removing change only the copies, and accept() hands back the
// list that replaces the application's list.
class LauncherSetupModel
{
public:
    // Opens on copies of `programs`; the entry whose label equals `preselectLabel` is selected,
    // else the first one (none when the list is empty).
    explicit LauncherSetupModel(
        const QList<LauncherEntry> &programs, const QString &preselectLabel = {});

    const QList<LauncherEntry> &entries() const { return m_entries; }
    int count() const { return int(m_entries.size()); }
    int selected() const { return m_selected; }
    bool hasSelection() const { return m_selected >= 0; }
    const LauncherEntry *selectedEntry() const;
    // The text a list cell shows: the label, or the program's file name without its extension
    // while the label is empty.
    static QString itemText(const LauncherEntry &entry);

    // Selection change: `labelField` goes into the entry selected so far, then `index` becomes
    // selected.
    void select(int index, const QString &labelField);

    enum class ChooseResult { Done, Cancelled, AlreadyListed, Missing, TooLong };
    // Add: a new entry for the chosen program, with an empty label, selected. A program already
    // in the list (paths compare exactly) shows message 50347, a missing file 50106, a path too
    // long for the 260-byte field 59001; nothing changes then. An empty path means the file
    // dialog was cancelled.
    ChooseResult add(const QString &path);
    // Change: the selected entry takes the chosen program, with the same checks; its label is
    // emptied.
    ChooseResult change(const QString &path);
    // Remove: deletes the selected entry; the one now at its position, or the last, is selected.
    void remove();

    // OK: `labelField` goes into the selected entry; entries whose label is empty take the file
    // name without extension. Returns the programs in list order, laid out as buttons.
    QList<LauncherEntry> accept(const QString &labelField);

private:
    ChooseResult check(const QString &path, int ignoring) const;

    QList<LauncherEntry> m_entries;
    int m_selected = -1;
};

// Size of the program list: 300 pixels wide (350 for "Korean"), one 50-pixel row high while it
// holds fewer than 6 entries (7 for "Korean"), else 70 to leave room for the scroll bar.
QSize launcherSetupListSize(const QString &languageName, int count);

} // namespace glimmerix
