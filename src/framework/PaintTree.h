#pragma once
// Paints a control and the controls inside it, each clipped to its own bounds, as a window
// shows a form: parents first, so that a control that leaves pixels alone shows its parent
// through them. A control is clipped further to what opaque controls above it leave visible.

#include <QImage>

#include "framework/Geometry.h"

namespace trovelin {

class PaintBufferBudget;
class TControl;

// Paints `control` with its top left at `origin` of `image`; invisible controls and what they
// hold are left out. The buffers that the controls keep count in `budget`, the surface's.
void paintControlTree(QImage& image, TControl& control, PaintBufferBudget& budget, TPoint origin = {});

}  // namespace trovelin
