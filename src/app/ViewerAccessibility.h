#pragma once
// Makes the viewer's custom-drawn widgets (the picture grid, the skinned tool buttons) describe
// themselves to assistive technology, as Qt's own widgets do. Installing twice does no harm.

namespace trovelin {

void installViewerAccessibility();

}  // namespace trovelin
