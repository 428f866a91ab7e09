#pragma once
// What the loader needs of the main window, and nothing more: the owner and hidden parent of the
// controls it re-creates, the reading environment, the first status bar panel, the picture grid's
// repaint, and the modal message box.

#include <string>

#include "streaming/Reader.h"

namespace trovelin {

class Component;
class TWinControl;

// The caption of the loader's message box.
inline constexpr const char* loaderMessageCaption = "KvrTrovelin";

class LoaderHost {
public:
    virtual ~LoaderHost() = default;
    // The main window, which owns every control the loader creates: a record's component name
    // must not repeat one of its own.
    virtual Component& owner() = 0;
    // `PanelPapa`, the hidden panel that parents those controls.
    virtual TWinControl& hostPanel() = 0;
    virtual ReaderEnvironment readerEnvironment() = 0;
    // Sets the text of the status bar's first panel.
    virtual void setStatusText(const std::string& text) = 0;
    virtual void repaintPictureGrid() = 0;
    // The modal message box with the caption "KvrTrovelin", an OK button and no icon.
    virtual void showMessage(const std::string& text) = 0;
};

}  // namespace trovelin
