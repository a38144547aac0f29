#pragma once

#include "launcherlayout.h"

#include <QList>
#include <QPoint>
#include <QString>

namespace glimmerix
{

// The launcher bar's hover and press state: which look each button shows and what the status
// pane says. The bar widget feeds mouse events in and paints what this state says.

enum class ButtonLook { Normal = 0, Pressed = 1, Hover = 2 };

class LauncherState
{
public:
    // Replaces the programs and lays the buttons out; every look returns to normal.
    void setEntries(const QList<LauncherEntry> &entries);
    const QList<LauncherEntry> &entries() const { return m_entries; }
    int count() const { return int(m_entries.size()); }
    ButtonLook look(int index) const;
    int pressedIndex() const { return m_pressed; }
    bool held() const { return m_held; }

    // The button under `point`, or -1.
    int buttonAt(QPoint point) const;
    // The label of the button under `point` (empty elsewhere): the tool tip.
    QString toolTipAt(QPoint point) const;

    // Mouse move: returns the status pane text. While no button is held down the button under
    // the cursor shows the hover look; while one is held it shows the pressed look only while
    // the cursor is on it.
    QString mouseMove(QPoint point);
    // Left or right button down: the button under `point` becomes the pressed one. False when
    // there is no button there.
    bool press(QPoint point);
    // Left button up: the index of the program to start (the button under the cursor now), or
    // -1. The pressed button returns to normal.
    int releaseLeft(QPoint point);
    // Right button up: opens the set-up dialog in any case; `preselect` is the entry the cursor
    // is still on (the one pressed), or -1 to open it plainly.
    struct SetupRequest {
        int preselect = -1;
    };
    SetupRequest releaseRight(QPoint point);
    // A drag moves over the bar carrying data the bar accepts (`acceptable`): the button under
    // the cursor takes the hover look and every other hover look returns to normal. Returns the
    // button that would take the drop, or -1 (the drop effect is then none).
    int dragMove(QPoint point, bool acceptable);
    // Every hover look returns to normal; true when one did (the bar must repaint).
    bool resetHover();
    // Every look returns to normal and nothing is held.
    void resetLooks();

private:
    QList<LauncherEntry> m_entries;
    QList<ButtonLook> m_looks;
    int m_pressed = -1;
    bool m_held = false;
};

} // namespace glimmerix
