#include "cli/HeadlessMainWindow.h"

#include "framework/NamedConstants.h"
#include "framework/WinControl.h"

namespace trovelin::cli {

namespace {
// The desktop main window's own components, in declaration order; `PanelPapa` is made apart.
constexpr const char* memberNames[] = {"Panel1",   "MFileExplorer", "PictureGrid", "Panel2",    "HDrvComboBox",
                                       "ViewLevelUp", "ViewIcons",  "PopupView",   "Icons1",    "Icons2",
                                       "Icons4",   "Icons3",        "StatusBar",   "Splitter1"};
}  // namespace

HeadlessMainWindow::HeadlessMainWindow()
{
    window_.setName("Trovelin");
    for (const char* name : memberNames) (new Component(&window_))->setName(name);
    hostPanel_ = new TWinControl(&window_);
    hostPanel_->setName("PanelPapa");
    hostPanel_->setColor(clBtnFace);
    application_.addTopLevelWindow(&window_);
}

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
