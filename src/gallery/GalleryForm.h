#pragma once
// The widget gallery's form: every skinned widget and every panel control, side by side in
// their interesting states (enabled and disabled, checked, grayed, focused, 16-bit, inverted).
// The form is stated as a record in text form and read by the real reader with the gallery's
// classes, so that every widget's published properties go through the same tables as a file's.

#include <functional>
#include <memory>
#include <string>

#include <QImage>

#include "gallery/GalleryClasses.h"
#include "streaming/RecordText.h"

namespace trovelin {

// The gallery's form as text: the form, captions and the widgets.
RecordNode galleryLayout();

// Reads `layout` into a new form and gives the focus to its "FocusedBox" when it has one.
std::unique_ptr<TGalleryForm> buildGalleryForm(const RecordNode& layout = galleryLayout());

// Reports what the user does to the form's widgets, as "widget, event, value" lines.
void reportGalleryEvents(TGalleryForm& form, std::function<void(const std::string&)> report);
// The same for the controls inside any container, a panel's face among them.
void reportControlEvents(TWinControl& container, std::function<void(const std::string&)> report);
// The value a control holds, as the event lines show it; empty for a control without one.
std::string controlValueText(TControl& control);

// The form painted offscreen, as the window shows it at rest.
QImage paintGalleryForm(TGalleryForm& form);

}  // namespace trovelin
