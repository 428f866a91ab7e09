#include "framework/LineRaster.h"

#include <array>

namespace trovelin {

namespace {

// Pixel lengths of the cosmetic pen styles: dash, gap, dash, gap...
constexpr std::array<int, 2> dashLengths{18, 6};
constexpr std::array<int, 2> dotLengths{3, 3};
constexpr std::array<int, 4> dashDotLengths{9, 6, 3, 6};
constexpr std::array<int, 6> dashDotDotLengths{9, 3, 3, 3, 3, 3};

std::span<const int> lengthsOf(TPenStyle style)
{
    switch (style) {
    case TPenStyle::psDash: return dashLengths;
    case TPenStyle::psDot: return dotLengths;
    case TPenStyle::psDashDot: return dashDotLengths;
    case TPenStyle::psDashDotDot: return dashDotDotLengths;
    default: return {};
    }
}

}  // namespace

DashPattern::DashPattern(TPenStyle style) : style_(style), lengths_(lengthsOf(style)) {}

bool DashPattern::nextIsDash()
{
    if (lengths_.empty()) return true;
    const bool dash = segment_ % 2 == 0;
    if (++usedInSegment_ == lengths_[segment_]) {
        usedInSegment_ = 0;
        segment_ = (segment_ + 1) % lengths_.size();
    }
    return dash;
}

void DashPattern::skip(std::int64_t pixels)
{
    if (lengths_.empty()) return;
    std::int64_t period = 0;
    for (int length : lengths_) period += length;
    for (std::int64_t i = pixels % period; i > 0; --i) nextIsDash();
}

void DashPattern::restart()
{
    segment_ = 0;
    usedInSegment_ = 0;
}

}  // namespace trovelin
