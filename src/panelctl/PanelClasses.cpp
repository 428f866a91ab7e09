#include "panelctl/PanelClasses.h"

namespace trovelin {

LoaderClassTable panelLoaderClasses()
{
    const LoaderClassTable framework = frameworkLoaderClasses();
    const auto entry = [&framework](std::string_view name) { return *findLoaderClass(framework, name); };
    return {
        entry("TGroupBox"),
        entry("TSpeedButton"),
        entry("TLabel"),
    };
}

}  // namespace trovelin
