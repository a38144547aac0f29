#pragma once

#include <QList>

namespace glimmerix
{

// The selection marks of a list of items, as the selection rule sees them. The album's items
// carry their own marks; tests use a plain list.
class SelectionMarks
{
public:
    virtual ~SelectionMarks() = default;
    virtual int count() const = 0;
    virtual bool isSelected(int index) const = 0;
    virtual void setSelected(int index, bool selected) = 0;
};

// Selection marks kept in a plain list of flags.
class FlagSelectionMarks final : public SelectionMarks
{
public:
    explicit FlagSelectionMarks(QList<bool> flags)
        : m_flags(std::move(flags))
    {
    }
    int count() const override { return int(m_flags.size()); }
    bool isSelected(int index) const override { return m_flags.value(index); }
    void setSelected(int index, bool selected) override { m_flags[index] = selected; }
    const QList<bool> &flags() const { return m_flags; }

private:
    QList<bool> m_flags;
};

enum class ClickKeys { Plain, Control, Shift };

struct SelectionOutcome {
    int current = -1;
    // Items whose look changed and must be redrawn; `all` asks for every item.
    QList<int> redraw;
    bool all = false;
};

// A click with `keys` on item `clicked` while `current` is the current item (-1: none):
// - Control toggles the clicked item; a newly selected item becomes current; clearing the
//   current item makes the first selected item current, or none.
// - Shift (with a current item) selects the range between the current and the clicked item and
//   clears the rest; the current item stays.
// - Otherwise the clicked item becomes current and the only one selected.
// A click outside the list changes nothing.
SelectionOutcome applySelectionRule(
    SelectionMarks &marks, int current, int clicked, ClickKeys keys);

} // namespace glimmerix
