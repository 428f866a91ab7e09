#include "skin/TrackerGeometry.h"

#include <algorithm>

namespace trovelin {

TrackerLayout TrackerLayout::of(int width, int height)
{
    TrackerLayout layout;
    if (width <= 0) return layout;
    layout.width = width % 2 == 0 ? width - 1 : width;
    const std::int64_t w = layout.width;
    layout.button = static_cast<int>(height / width <= 4 ? (w + 1) / 4 : (w + 1) / 2);
    layout.track = static_cast<int>(std::int64_t{height} - 2 * std::int64_t{layout.button});
    layout.travel = static_cast<int>((14 * std::int64_t{layout.track} + 14) / 16);
    return layout;
}

int TrackerLayout::knobOffset(std::int64_t position, std::int64_t min, std::int64_t max) const
{
    return static_cast<int>(button + (travel * (max - position)) / (max - min));
}

int TrackerLayout::colourKnobOffset(std::int64_t position, std::int64_t min, std::int64_t max) const
{
    return static_cast<int>(button + ((14 * std::int64_t{track} / 16) * (max - position)) / (max - min));
}

std::int64_t TrackerLayout::valueAt(int row, std::int64_t min, std::int64_t max) const
{
    // Far beyond the track every row gives a value beyond the range; limiting the row keeps the
    // product within 64 bits.
    const std::int64_t limited = std::clamp(row, -(1 << 30), 1 << 30);
    return max - ((limited - std::int64_t{track} / 16) * (max - min + 1)) / (14 * std::int64_t{track} / 16);
}

}  // namespace trovelin
