#pragma once
// The main window as the component model sees it: a top-level window "Trovelin" owning
// components of the desktop window's member names and the hidden host panel `PanelPapa`. A
// record that names one of them fails as it does in the desktop window, wherever it is loaded.

#include "framework/Application.h"
#include "streaming/Component.h"

namespace trovelin {

class TWinControl;

class MainWindowComponents {
public:
    MainWindowComponents();
    MainWindowComponents(const MainWindowComponents&) = delete;
    MainWindowComponents& operator=(const MainWindowComponents&) = delete;

    Component& window() { return window_; }
    TWinControl& panelPapa() { return *panelPapa_; }
    ReaderEnvironment readerEnvironment() const { return application_.readerEnvironment(); }

private:
    TApplication application_;
    Component window_{nullptr};
    TWinControl* panelPapa_;
};

}  // namespace trovelin
