#pragma once
// Makes the viewer's custom-drawn widgets (the picture grid, the skinned tool buttons, the panels'
// controls) and its plain windows describe themselves to assistive technology, as Qt's own
// widgets do. The application installs it once, before its first window; twice does no harm.

namespace trovelin {

void installViewerAccessibility();

}  // namespace trovelin
