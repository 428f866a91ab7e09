// The loader's whole class table: every class a panel file may hold, in the order the loader
// tests names, and which of them give a picture.

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "panelctl/PanelClasses.h"

namespace trovelin {
namespace {

TEST(PanelClasses, EveryClassInItsTestOrderAndOnlyButtonsGiveGlyphs)
{
    std::vector<std::string_view> names;
    std::vector<std::string_view> withGlyphs;
    for (const LoaderClass& entry : panelLoaderClasses()) {
        names.push_back(entry.name);
        if (entry.glyph) withGlyphs.push_back(entry.name);
    }
    EXPECT_EQ(names, (std::vector<std::string_view>{"TGroupBox", "TFieldXY", "TCBTC", "TKnobL", "TSliderh",
                                                    "TSlider", "TSpeedButton", "TLabel", "TMultiButton"}));
    EXPECT_EQ(withGlyphs, (std::vector<std::string_view>{"TSpeedButton", "TMultiButton"}));
}

}  // namespace
}  // namespace trovelin
