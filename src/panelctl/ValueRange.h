#pragma once
// The Min..Max pair of the fader-like controls, panel faders and skinned tracker alike: Max
// always stays above Min, so setting one past the other pushes the other along.

#include <cstdint>

namespace trovelin {

struct ValueRange {
    std::int32_t min = 0;
    std::int32_t max = 255;

    // Both return false when nothing changed. Min cannot take the largest integer, nor Max
    // the smallest, since the other must still fit beyond it.
    bool setMin(std::int32_t value);
    bool setMax(std::int32_t value);
};

}  // namespace trovelin
