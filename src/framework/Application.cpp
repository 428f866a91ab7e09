#include "framework/Application.h"

#include <algorithm>

#include "framework/Menus.h"
#include "streaming/Component.h"

namespace trovelin {

void TApplication::addTopLevelWindow(Component* window)
{
    if (std::find(topLevelWindows_.begin(), topLevelWindows_.end(), window) == topLevelWindows_.end())
        topLevelWindows_.push_back(window);
}

Component* TApplication::findTopLevelWindow(std::string_view name) const
{
    for (Component* window : topLevelWindows_)
        if (sameText(window->name(), name)) return window;
    return nullptr;
}

ReaderEnvironment TApplication::readerEnvironment() const
{
    return {[this](std::string_view name) { return findTopLevelWindow(name); }, &standardClassRegistry()};
}

const ClassRegistry& standardClassRegistry()
{
    static const ClassRegistry registry{&TMenuItem::staticClassInfo()};
    return registry;
}

}  // namespace trovelin
