#include "framework/SystemColors.h"

#include <array>

namespace trovelin {

namespace {

// The classic "Windows Standard" scheme, the look the panels were designed against. A fixed
// table rather than the desktop's palette, so that controls look the same on every machine.
constexpr std::array<std::uint32_t, 31> standardScheme{
    0xC0C0C0,  // 0 scroll bar
    0x808000,  // 1 desktop background (teal)
    0x800000,  // 2 active caption (navy)
    0x808080,  // 3 inactive caption
    0xC0C0C0,  // 4 menu
    0xFFFFFF,  // 5 window
    0x000000,  // 6 window frame
    0x000000,  // 7 menu text
    0x000000,  // 8 window text
    0xFFFFFF,  // 9 caption text
    0xC0C0C0,  // 10 active border
    0xC0C0C0,  // 11 inactive border
    0x808080,  // 12 application workspace
    0x800000,  // 13 highlight (navy)
    0xFFFFFF,  // 14 highlight text
    0xC0C0C0,  // 15 button face
    0x808080,  // 16 button shadow
    0x808080,  // 17 grey text
    0x000000,  // 18 button text
    0xC0C0C0,  // 19 inactive caption text
    0xFFFFFF,  // 20 button highlight
    0x000000,  // 21 3D dark shadow
    0xC0C0C0,  // 22 3D light
    0x000000,  // 23 info text
    0xE1FFFF,  // 24 info background (pale yellow)
    0x000000,  // 25 has no colour of its own
    0x800000,  // 26 hot-tracked item (navy)
    0xD08410,  // 27 active caption gradient end
    0xC0C0C0,  // 28 inactive caption gradient end
    0x800000,  // 29 highlighted menu item
    0xC0C0C0,  // 30 menu bar
};

constexpr std::uint32_t systemColorFlag = 0x80000000u;

}  // namespace

std::uint32_t colorToRgb(TColor color)
{
    const auto value = static_cast<std::uint32_t>(color);
    if ((value & 0xFF000000u) != systemColorFlag) return value & 0x00FFFFFFu;
    const std::uint32_t index = value & 0x00FFFFFFu;
    return index < standardScheme.size() ? standardScheme[index] : 0;
}

}  // namespace trovelin
