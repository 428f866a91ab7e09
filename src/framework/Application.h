#pragma once
// The application object: its title, its top-level windows, and the reading environment
// that records are read in (unique naming against the windows, the class registry).

#include <string>
#include <string_view>
#include <vector>

#include "streaming/Reader.h"

namespace trovelin {

class Component;

class TApplication {
public:
    const std::string& title() const { return title_; }
    void setTitle(const std::string& title) { title_ = title; }

    // Windows are registered by whoever creates them and unregistered before they go.
    void addTopLevelWindow(Component* window);
    void removeTopLevelWindow(Component* window);
    Component* findTopLevelWindow(std::string_view name) const;  // letter case ignored

    ReaderEnvironment readerEnvironment() const;

private:
    std::string title_;
    std::vector<Component*> topLevelWindows_;
};

// The classes a child entry of a record may name without the root's help: menu items only.
const ClassRegistry& standardClassRegistry();

}  // namespace trovelin
