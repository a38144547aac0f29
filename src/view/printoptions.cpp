#include "printoptions.h"

#include "core/messageids.h"

namespace glimmerix
{

GridChoice gridChoice(int grid)
{
    switch (grid) {
    case PrintOptions::Grid3:
        return { 3, 80 };
    case PrintOptions::Grid2:
        return { 2, 100 };
    default:
        return { 4, 70 };
    }
}

int rangeProblem(const PrintOptions &options)
{
    if (options.range != PrintOptions::NumberedItems)
        return 0;
    if (options.from < 1 || options.to < 1)
        return Message::kPrintNumberTooSmall;
    if (options.to < options.from)
        return Message::kPrintRangeReversed;
    return 0;
}

} // namespace glimmerix
