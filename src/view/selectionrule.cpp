#include "selectionrule.h"

#include <algorithm>

namespace glimmerix
{

namespace
{

int firstSelected(const SelectionMarks &marks)
{
    for (int i = 0; i < marks.count(); ++i) {
        if (marks.isSelected(i))
            return i;
    }
    return -1;
}

// Sets every mark to whether its index lies in [first, last]; only changed items need a redraw,
// but a range operation is cheap to redraw whole.
void selectOnly(SelectionMarks &marks, int first, int last)
{
    for (int i = 0; i < marks.count(); ++i) {
        const bool inside = i >= first && i <= last;
        if (marks.isSelected(i) != inside)
            marks.setSelected(i, inside);
    }
}

} // namespace

SelectionOutcome applySelectionRule(SelectionMarks &marks, int current, int clicked, ClickKeys keys)
{
    SelectionOutcome outcome;
    outcome.current = current;
    if (clicked < 0 || clicked >= marks.count())
        return outcome;
    if (current >= marks.count())
        current = -1;

    if (keys == ClickKeys::Control) {
        const bool nowSelected = !marks.isSelected(clicked);
        marks.setSelected(clicked, nowSelected);
        if (nowSelected)
            outcome.current = clicked;
        else if (clicked == current)
            outcome.current = firstSelected(marks);
        outcome.redraw = { clicked };
        if (current >= 0 && current != clicked)
            outcome.redraw.append(current);
        if (outcome.current >= 0 && !outcome.redraw.contains(outcome.current))
            outcome.redraw.append(outcome.current);
        return outcome;
    }

    if (keys == ClickKeys::Shift && current >= 0) {
        if (clicked == current)
            return outcome;
        selectOnly(marks, std::min(current, clicked), std::max(current, clicked));
        outcome.all = true;
        return outcome;
    }

    selectOnly(marks, clicked, clicked);
    outcome.current = clicked;
    outcome.all = true;
    return outcome;
}

} // namespace glimmerix
