#pragma once
// The main window as the loader sees it, without a screen: a top-level window "Trovelin" that
// owns components of the desktop window's member names (so that a record naming one of them
// fails here as it does there) and the hidden host panel, and that notes what the loader shows.

#include <string>
#include <vector>

#include "framework/Application.h"
#include "panelfile/LoaderHost.h"
#include "streaming/Component.h"

namespace trovelin::cli {

struct LoaderEvent {
    enum class Kind { Status, Message };
    Kind kind;
    std::string text;
};

class HeadlessMainWindow : public LoaderHost {
public:
    HeadlessMainWindow();

    Component& owner() override { return window_; }
    TWinControl& hostPanel() override { return *hostPanel_; }
    ReaderEnvironment readerEnvironment() override { return application_.readerEnvironment(); }
    void setStatusText(const std::string& text) override;
    void repaintPictureGrid() override { ++repaintRequests_; }
    void showMessage(const std::string& text) override;

    // What the loader showed since the last call, oldest first.
    std::vector<LoaderEvent> takeEvents();
    int repaintRequests() const { return repaintRequests_; }

private:
    TApplication application_;
    Component window_{nullptr};
    TWinControl* hostPanel_;
    std::vector<LoaderEvent> events_;
    int repaintRequests_ = 0;
};

}  // namespace trovelin::cli
