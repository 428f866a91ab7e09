#pragma once
// Where a fader's knob sits and which value a pointer position stands for, along its travel.
// "Length" is the control's extent along the travel (the height of a vertical fader). All
// division truncates toward zero, as the panel designer's faders compute; sums and products
// run in 64 bits so that a record with an extreme size or range cannot overflow them.

#include <cstdint>

namespace trovelin {

enum class FaderAxis { Vertical, Horizontal };

// The fine value of a 16-bit fader: the low byte.
inline constexpr int fineMaximum = 255;

// True where the value falls as the pointer coordinate grows: a vertical fader has Max at the
// top, a horizontal one at the right; Inverted turns either round.
constexpr bool valueDescends(FaderAxis axis, bool inverted)
{
    return (axis == FaderAxis::Vertical) != inverted;
}

constexpr int faderMargin(int length) { return length / 16; }
constexpr std::int64_t faderTravel(int length) { return std::int64_t{14} * length / 16; }
// The knob's extent along the travel.
constexpr int faderKnobLength(int length) { return length / 8; }
// Where the fine column (or row) begins across the travel.
constexpr int faderFineSplit(int crossExtent) { return static_cast<int>(std::int64_t{2} * crossExtent / 3); }

// The coarse value at pointer coordinate `coordinate`, not yet limited to min..max. The travel
// must not be empty.
std::int64_t coarseValueAt(int coordinate, int length, int min, int max, bool descending);
// The fine value at `coordinate`, not yet limited to 0..255. The travel must not be empty.
std::int64_t fineValueAt(int coordinate, int length, bool descending);

// The knob's first row (column) along the travel for `position`; min < max.
int coarseKnobOffset(int length, int min, int max, std::int64_t position, bool descending);
int fineKnobOffset(int length, int finePosition, bool descending);

// Tick i (0..8) of the slot and the row of its highlight, spaced in single precision.
int tickRow(int length, int i);
int tickHighlightRow(int length, int i);

}  // namespace trovelin
