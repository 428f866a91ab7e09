#include "panelctl/PanelClasses.h"

#include "panelctl/Slider.h"
#include "panelctl/Sliderh.h"

namespace trovelin {

namespace {
template <class Control> TControl* create(Component* owner) { return new Control(owner); }
}  // namespace

LoaderClassTable panelLoaderClasses()
{
    const LoaderClassTable framework = frameworkLoaderClasses();
    const auto entry = [&framework](std::string_view name) { return *findLoaderClass(framework, name); };
    return {
        entry("TGroupBox"),
        {"TSliderh", &create<TSliderh>, &readControlRecord, nullptr},
        {"TSlider", &create<TSlider>, &readControlRecord, nullptr},
        entry("TSpeedButton"),
        entry("TLabel"),
    };
}

}  // namespace trovelin
