#pragma once
// The widget gallery's classes: the form that holds the widgets, and a registry that knows
// every skinned widget and every panel control, so that the gallery's record and the widget
// command go through the real reader. The panel loader's own class table is a different one.

#include <string>
#include <vector>

#include "framework/WinControl.h"
#include "streaming/Reader.h"

namespace trovelin {

// The gallery's form: a button-face surface the widgets sit on.
class TGalleryForm : public TWinControl {
public:
    explicit TGalleryForm(Component* owner);

    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    void paint(TCanvas& canvas) override;
};

// Every class a gallery record may name, letter case ignored.
const ClassRegistry& galleryClasses();
// Their names, in the registry's order.
std::vector<std::string> galleryClassNames();

}  // namespace trovelin
