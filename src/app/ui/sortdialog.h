#pragma once

#include <QDialog>

#include <optional>

class QButtonGroup;
class QRadioButton;

namespace glimmerix
{

struct SortChoice {
    int key = 0; // 0 file name, 1 extension, 2 file size, 3 file time, 4 description
    int direction = 0; // 0 as the key's natural order, 1 reversed
};

// The Sort dialog: a sort key and a direction. The two directions are named after what they do
// to the chosen key ("A to Z", "Smallest first", "Newest first"), since the natural order of
// dates runs from the newest.
class SortDialog final : public QDialog
{
    Q_OBJECT
public:
    explicit SortDialog(QWidget *parent = nullptr);
    SortChoice choice() const;

private:
    void nameDirections();

    QButtonGroup *m_keys;
    QRadioButton *m_natural;
    QRadioButton *m_reversed;
};

// Asks for the sort key and direction; nothing when cancelled.
std::optional<SortChoice> askSortOrder(QWidget *parent);

} // namespace glimmerix
