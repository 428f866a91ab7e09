#include "panelctl/PanelClasses.h"

#include "panelctl/Cbtc.h"
#include "panelctl/Cmy.h"
#include "panelctl/Fieldxym.h"
#include "panelctl/Knobl.h"
#include "panelctl/Multibut.h"
#include "panelctl/Slider.h"
#include "panelctl/Sliderh.h"
#include "panelfile/ColourMixerRecord.h"

namespace trovelin {
namespace {

template <class Control> TControl* create(Component* owner) { return new Control(owner); }

TBitmap* multiButtonGlyph(TControl& control) { return &static_cast<TMultiButton&>(control).glyph(); }

}  // namespace

LoaderClassTable panelLoaderClasses()
{
    const LoaderClassTable framework = frameworkLoaderClasses();
    const auto entry = [&framework](std::string_view name) { return *findLoaderClass(framework, name); };
    return {
        entry("TGroupBox"),
        {"TFieldXY", &create<TFieldXY>, &readControlRecord, nullptr},
        {"TCBTC", &create<TCBTC>, &readControlRecord, nullptr},
        {"TKnobL", &create<TKnobL>, &readControlRecord, nullptr},
        {"TSliderh", &create<TSliderh>, &readControlRecord, nullptr},
        {"TSlider", &create<TSlider>, &readControlRecord, nullptr},
        entry("TSpeedButton"),
        entry("TLabel"),
        // Colour mixers have a reader of their own, not the component record reader.
        {"TCMY", &create<TCMY>, &readColourMixerControl, nullptr},
        {"TMultiButton", &create<TMultiButton>, &readControlRecord, &multiButtonGlyph},
    };
}

}  // namespace trovelin
