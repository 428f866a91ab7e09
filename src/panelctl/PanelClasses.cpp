#include "panelctl/PanelClasses.h"

#include "panelctl/Knobl.h"

namespace trovelin {

LoaderClassTable panelLoaderClasses()
{
    const LoaderClassTable framework = frameworkLoaderClasses();
    const auto entry = [&framework](std::string_view name) { return *findLoaderClass(framework, name); };
    return {
        entry("TGroupBox"),
        {"TKnobL", [](Component* owner) -> TControl* { return new TKnobL(owner); }, &readControlRecord, nullptr},
        entry("TSpeedButton"),
        entry("TLabel"),
    };
}

}  // namespace trovelin
