#pragma once
// The application object: its top-level windows, and the reading environment that records
// are read in (unique naming against the windows, the class registry).

#include <string_view>
#include <vector>

#include "streaming/Reader.h"

namespace trovelin {

class Component;

class TApplication {
public:
    // Windows are registered by whoever creates them, for as long as the application runs.
    void addTopLevelWindow(Component* window);
    Component* findTopLevelWindow(std::string_view name) const;  // letter case ignored

    ReaderEnvironment readerEnvironment() const;

private:
    std::vector<Component*> topLevelWindows_;
};

// The classes a child entry of a record may name without the root's help: menu items only.
const ClassRegistry& standardClassRegistry();

}  // namespace trovelin
