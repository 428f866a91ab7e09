#include "cli/HeadlessMainWindow.h"

#include <utility>

namespace trovelin::cli {

void HeadlessMainWindow::setStatusText(const std::string& text)
{
    events_.push_back({LoaderEvent::Kind::Status, text});
}

void HeadlessMainWindow::showMessage(const std::string& text)
{
    events_.push_back({LoaderEvent::Kind::Message, text});
}

std::vector<LoaderEvent> HeadlessMainWindow::takeEvents()
{
    return std::exchange(events_, {});
}

}  // namespace trovelin::cli
