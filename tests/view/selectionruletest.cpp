#include "view/selectionrule.h"

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

QList<bool> marksOf(const char *pattern)
{
    QList<bool> flags;
    for (const char *p = pattern; *p; ++p)
        flags.append(*p == 'x');
    return flags;
}

struct Case {
    const char *name;
    const char *before; // 'x' selected, '.' clear
    int current;
    int clicked;
    ClickKeys keys;
    const char *after;
    int newCurrent;
};

TEST(SelectionRule, Cases)
{
    const Case cases[] = {
        { "plain click selects only the clicked item", "x.x..", 0, 3, ClickKeys::Plain, "...x.",
            3 },
        { "control on the only selected current item", "..x..", 2, 2, ClickKeys::Control, ".....",
            -1 },
        { "control clearing current picks the first selected", ".x.x.", 3, 3, ClickKeys::Control,
            ".x...", 1 },
        { "control clearing another item keeps current", ".x.x.", 3, 1, ClickKeys::Control, "...x.",
            3 },
        { "control adding makes it current", ".x...", 1, 4, ClickKeys::Control, ".x..x", 4 },
        { "shift from 2 to 5", "x.x...x.", 2, 5, ClickKeys::Shift, "..xxxx..", 2 },
        { "shift backwards", "......x.", 6, 3, ClickKeys::Shift, "...xxxx.", 6 },
        { "shift on the current item changes nothing", "x.x..", 2, 2, ClickKeys::Shift, "x.x..",
            2 },
        { "shift without a current item acts plain", "x....", -1, 3, ClickKeys::Shift, "...x.", 3 },
        { "click outside the list changes nothing", "x....", 0, 7, ClickKeys::Plain, "x....", 0 },
    };
    for (const auto &c : cases) {
        FlagSelectionMarks marks(marksOf(c.before));
        const SelectionOutcome outcome = applySelectionRule(marks, c.current, c.clicked, c.keys);
        EXPECT_EQ(marks.flags(), marksOf(c.after)) << c.name;
        EXPECT_EQ(outcome.current, c.newCurrent) << c.name;
    }
}

TEST(SelectionRule, ControlRedrawsClickedAndPreviousCurrent)
{
    FlagSelectionMarks marks(marksOf("x...."));
    const SelectionOutcome outcome = applySelectionRule(marks, 0, 3, ClickKeys::Control);
    EXPECT_FALSE(outcome.all);
    EXPECT_TRUE(outcome.redraw.contains(3));
    EXPECT_TRUE(outcome.redraw.contains(0));
}

} // namespace
