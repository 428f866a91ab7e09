#include "panelctl/FaderGeometry.h"

#include <algorithm>
#include <limits>

namespace trovelin {

namespace {

// Offsets of a position outside min..max (SetMin moves the range before the position follows)
// land far off any canvas, but no farther than a knob's length can still be added to.
constexpr std::int64_t farOffset = std::numeric_limits<int>::max() - std::numeric_limits<int>::max() / 8;

int limitedOffset(std::int64_t offset) { return static_cast<int>(std::clamp(offset, -farOffset, farOffset)); }

// The pointer's distance from the start of the travel.
std::int64_t travelDistance(int coordinate, int length)
{
    return std::clamp(coordinate, 0, std::max(length, 0)) - faderMargin(length);
}

}  // namespace

std::int64_t coarseValueAt(int coordinate, int length, int min, int max, bool descending)
{
    const std::int64_t steps = travelDistance(coordinate, length) * (std::int64_t{max} - min + 1) / faderTravel(length);
    return descending ? max - steps : min + steps;
}

std::int64_t fineValueAt(int coordinate, int length, bool descending)
{
    const std::int64_t steps = travelDistance(coordinate, length) * (fineMaximum + 1) / faderTravel(length);
    return descending ? fineMaximum - steps : steps;
}

int coarseKnobOffset(int length, int min, int max, std::int64_t position, bool descending)
{
    const std::int64_t fromStart = descending ? max - position : position - min;
    return limitedOffset(faderTravel(length) * fromStart / (std::int64_t{max} - min));
}

int fineKnobOffset(int length, int finePosition, bool descending)
{
    const std::int64_t fromStart = descending ? fineMaximum - finePosition : finePosition;
    return limitedOffset(faderTravel(length) * fromStart / fineMaximum);
}

namespace {
float tickPosition(int length, int i)
{
    // The designer spaces the ticks in single precision; the rows it truncates to depend on it.
    const float spacing = static_cast<float>(std::int64_t{length} * 14) / 128.0f;
    return static_cast<float>(faderMargin(length)) + static_cast<float>(i) * spacing;
}
}  // namespace

int tickRow(int length, int i) { return static_cast<int>(tickPosition(length, i)); }

int tickHighlightRow(int length, int i) { return static_cast<int>(tickPosition(length, i) + 1.0f); }

}  // namespace trovelin
