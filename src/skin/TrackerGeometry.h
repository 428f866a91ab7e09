#pragma once
// Where the skinned tracker's parts lie: a step button at each end of a vertical track whose
// knob has Max at the top. All division truncates toward zero; products run in 64 bits so
// that extreme sizes and ranges from a record cannot overflow.

#include <cstdint>

namespace trovelin {

struct TrackerLayout {
    int width = 0;    // the control's width made odd
    int button = 0;   // height of each step button: b
    int track = 0;    // the track's height between the buttons: T
    int travel = 0;   // the knob's travel: t

    // The layout of a control of this size; meaningful when it paints at all.
    static TrackerLayout of(int width, int height);

    // The knob's first row for `position` in min..max (min < max).
    int knobOffset(std::int64_t position, std::int64_t min, std::int64_t max) const;
    // The same without the travel's + 14, as a colour change places the knob.
    int colourKnobOffset(std::int64_t position, std::int64_t min, std::int64_t max) const;
    // The value at track row `row` (0 at the track's top), not yet limited to min..max.
    std::int64_t valueAt(int row, std::int64_t min, std::int64_t max) const;
    // Whether valueAt has a travel to divide by.
    bool mapsValues() const { return 14 * std::int64_t{track} / 16 > 0; }
};

// Nothing is painted while the control is narrower than it is tall by less than nothing, and
// the pointer and value changes are ignored while by less than 10 pixels. A control without
// width has no layout at all.
constexpr bool trackerPaints(int width, int height) { return width > 0 && height >= width; }
constexpr bool trackerTakesInput(int width, int height)
{
    return width > 0 && std::int64_t{height} >= std::int64_t{width} + 10;
}

}  // namespace trovelin
