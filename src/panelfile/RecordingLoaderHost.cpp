#include "panelfile/RecordingLoaderHost.h"

#include <utility>

namespace trovelin {

const char* loaderEventKindName(LoaderEvent::Kind kind)
{
    switch (kind) {
    case LoaderEvent::Kind::Status: return "status";
    case LoaderEvent::Kind::Message: return "message";
    case LoaderEvent::Kind::Error: break;
    }
    return "error";
}

void RecordingLoaderHost::setStatusText(const std::string& text)
{
    events_.push_back({LoaderEvent::Kind::Status, text});
}

void RecordingLoaderHost::showMessage(const std::string& text)
{
    events_.push_back({LoaderEvent::Kind::Message, text});
}

std::vector<LoaderEvent> RecordingLoaderHost::takeEvents()
{
    return std::exchange(events_, {});
}

}  // namespace trovelin
