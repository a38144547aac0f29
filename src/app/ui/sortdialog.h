#pragma once

#include <optional>

class QWidget;

struct SortChoice {
    int key = 0; // 0 file name, 1 extension, 2 file size, 3 file time, 4 description
    int direction = 0; // 0 as the key's natural order, 1 reversed
};

// Asks for the sort key and direction; nothing when cancelled.
std::optional<SortChoice> askSortOrder(QWidget *parent);
