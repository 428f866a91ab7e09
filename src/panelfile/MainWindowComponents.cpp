#include "panelfile/MainWindowComponents.h"

#include "framework/NamedConstants.h"
#include "framework/WinControl.h"

namespace trovelin {

namespace {
// The desktop main window's own components, in declaration order; `PanelPapa` is made apart.
constexpr const char* memberNames[] = {"Panel1",      "MFileExplorer", "PictureGrid", "Panel2", "HDrvComboBox",
                                       "ViewLevelUp", "ViewIcons",     "PopupView",   "Icons1", "Icons2",
                                       "Icons4",      "Icons3",        "StatusBar",   "Splitter1"};
}  // namespace

MainWindowComponents::MainWindowComponents()
{
    window_.setName("Trovelin");
    for (const char* name : memberNames) (new Component(&window_))->setName(name);
    panelPapa_ = new TWinControl(&window_);
    panelPapa_->setName("PanelPapa");
    panelPapa_->setColor(clBtnFace);
    application_.addTopLevelWindow(&window_);
}

}  // namespace trovelin
