#pragma once
// `trovelin-cli widget`: one widget of any class the gallery knows, alone at its own size on a
// parent of the button-face colour, in the state a designer asks for: published properties in
// the dump's text form, the pointer over it, the left button held, the focus.

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <QImage>

#include "framework/Geometry.h"
#include "gallery/GalleryClasses.h"

namespace trovelin {

struct WidgetShotRequest {
    std::string className;
    std::vector<std::pair<std::string, std::string>> properties;  // name and value as text
    std::optional<TPoint> hover;  // the pointer moves here
    std::optional<TPoint> press;  // the left button goes down here, after the hover
    bool focus = false;
    std::string output;
};

// The request the arguments after "widget" state; null when they do not make one.
std::optional<WidgetShotRequest> parseWidgetArguments(const std::vector<std::string>& arguments);

// The gallery's form holding the widget, its only control, as the request's properties make it.
// The reader's errors leave as its exceptions.
std::unique_ptr<TGalleryForm> buildWidgetForm(const WidgetShotRequest& request);

// The widget painted in the requested state. The reader's errors (an unknown class or
// property, a bad value) leave as its exceptions.
QImage paintWidget(const WidgetShotRequest& request);

// Paints the widget into request.output as PNG. Returns 0, 2 with the reader's message on
// `errors`, or 1 when the file cannot be written.
int paintWidgetToFile(const WidgetShotRequest& request, std::ostream& errors);

}  // namespace trovelin
