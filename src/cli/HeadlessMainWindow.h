#pragma once
// The main window as the loader sees it, without a screen: the main window's components, and a
// note of everything the loader shows.

#include <string>
#include <vector>

#include "panelfile/LoaderHost.h"
#include "panelfile/MainWindowComponents.h"

namespace trovelin::cli {

struct LoaderEvent {
    enum class Kind { Status, Message };
    Kind kind;
    std::string text;
};

class HeadlessMainWindow : public LoaderHost {
public:
    Component& owner() override { return components_.window(); }
    TWinControl& hostPanel() override { return components_.panelPapa(); }
    ReaderEnvironment readerEnvironment() override { return components_.readerEnvironment(); }
    void setStatusText(const std::string& text) override;
    void repaintPictureGrid() override { ++repaintRequests_; }
    void showMessage(const std::string& text) override;

    // What the loader showed since the last call, oldest first.
    std::vector<LoaderEvent> takeEvents();
    int repaintRequests() const { return repaintRequests_; }

private:
    MainWindowComponents components_;
    std::vector<LoaderEvent> events_;
    int repaintRequests_ = 0;
};

}  // namespace trovelin::cli
