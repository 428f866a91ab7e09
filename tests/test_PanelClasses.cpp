// The loader's whole class table: every class a panel file may hold, in the order the loader
// tests names, which of them give a picture, and a panel holding each panel control loading
// through it, the colour mixer through its own reader.

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "panelfile/RecordingLoaderHost.h"
#include "panelctl/Cmy.h"
#include "panelctl/Fieldxym.h"
#include "panelctl/PanelClasses.h"
#include "panelfile/Loader.h"
#include "panelfile/PictureList.h"
#include "streaming/Stream.h"
#include "support/PanelFileWriter.h"
#include "support/RecordWriter.h"

namespace trovelin {
namespace {

using namespace testing;

TEST(PanelClasses, EveryClassInItsTestOrderAndOnlyButtonsGiveGlyphs)
{
    std::vector<std::string_view> names;
    std::vector<std::string_view> withGlyphs;
    for (const LoaderClass& entry : panelLoaderClasses()) {
        names.push_back(entry.name);
        if (entry.glyph) withGlyphs.push_back(entry.name);
    }
    EXPECT_EQ(names, (std::vector<std::string_view>{"TGroupBox", "TFieldXY", "TCBTC", "TKnobL", "TSliderh", "TSlider",
                                                    "TSpeedButton", "TLabel", "TCMY", "TMultiButton"}));
    EXPECT_EQ(withGlyphs, (std::vector<std::string_view>{"TSpeedButton", "TMultiButton"}));
}

TEST(PanelClasses, AnXYFieldAndAColourMixerLoadEachThroughItsReader)
{
    RecordWriter background;
    background.beginRecord("TImage", "Background").end().end();
    RecordWriter field;
    field.beginRecord("TFieldXY", "Field1").property("PositionX").integer(10).end().end();
    // Colour-mixer records carry no component name.
    RecordWriter mixer;
    mixer.beginRecord("TCMY", "").property("Left").integer(-5).property("Cyan").string("\xFF").end().end();
    PanelFileContent content;
    content.records = {background.bytes(), field.bytes(), mixer.bytes()};
    MemoryStream stream(writePanelFile(content));

    RecordingLoaderHost window;
    PictureList pictures;
    PanelLoader loader(window, pictures, panelLoaderClasses());
    std::vector<std::string> seen;
    loader.setObserver({[&seen](TControl& control) {
                            if (auto* xy = dynamic_cast<TFieldXY*>(&control))
                                seen.push_back("field " + std::to_string(xy->getX()));
                            if (auto* cmy = dynamic_cast<TCMY*>(&control))
                                seen.push_back("mixer " + std::to_string(cmy->left()) + " " +
                                               std::to_string(cmy->cyan()));
                        },
                        {}});
    loader.loadPanel(stream);
    EXPECT_TRUE(window.takeEvents().empty());
    EXPECT_EQ(seen, (std::vector<std::string>{"field 10", "mixer -5 255"}));
}

}  // namespace
}  // namespace trovelin
