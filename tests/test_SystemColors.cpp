// System colours: the fixed scheme they resolve through, and plain values passing through.

#include <gtest/gtest.h>

#include "framework/SystemColors.h"

namespace trovelin {
namespace {

struct ColorCase {
    TColor color;
    std::uint32_t rgb;
};

TEST(SystemColors, ResolveThroughTheStandardSchemeAndPlainValuesPassThrough)
{
    const ColorCase cases[] = {
        {clBtnFace, 0xC0C0C0},  {clBtnShadow, 0x808080}, {clBtnHighlight, 0xFFFFFF}, {cl3DDkShadow, 0x000000},
        {cl3DLight, 0xC0C0C0},  {clWindow, 0xFFFFFF},    {clWindowText, 0x000000},   {clHighlight, 0x800000},
        {clHighlightText, 0xFFFFFF}, {clInfoBk, 0xE1FFFF}, {clBackground, 0x808000}, {systemColor(30), 0xC0C0C0},
        {systemColor(31), 0x000000}, {systemColor(0xFFFF), 0x000000}, {clRed, 0x0000FF}, {0x12345678, 0x345678},
        {clNone, 0xFFFFFF},     {clDefault, 0x000000},
    };
    for (const ColorCase& c : cases) EXPECT_EQ(colorToRgb(c.color), c.rgb) << std::hex << c.color;
}

}  // namespace
}  // namespace trovelin
