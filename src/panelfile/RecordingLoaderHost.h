#pragma once
// The main window as the loader sees it, without a screen: the main window's components, and a
// note of everything the loader shows, for callers that report it rather than show it.

#include <string>
#include <vector>

#include "panelfile/LoaderHost.h"
#include "panelfile/MainWindowComponents.h"

namespace trovelin {

// Something a load showed or threw.
struct LoaderEvent {
    enum class Kind {
        Status,   // the status bar's text: the file is no panel file
        Message,  // a message box: a record refused or out of format
        Error,    // a failure that ended the load
    };
    Kind kind;
    std::string text;
    bool operator==(const LoaderEvent&) const = default;
};

// "status", "message" or "error", as reports and manifests name the kinds.
const char* loaderEventKindName(LoaderEvent::Kind kind);

class RecordingLoaderHost : public LoaderHost {
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

}  // namespace trovelin
