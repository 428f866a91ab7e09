#include "framework/PaintTree.h"

#include <algorithm>

#include <QPainter>

#include "framework/Canvas.h"
#include "framework/WinControl.h"

namespace trovelin {

namespace {

// `clip` is what the parents leave visible, in image coordinates.
void paintWithin(QImage& image, TControl& control, TPoint origin, const QRect& clip)
{
    if (!control.visible()) return;
    const QRect visible =
        clip.intersected(QRect(origin.x, origin.y, std::max(control.width(), 0), std::max(control.height(), 0)));
    if (visible.isEmpty()) return;
    {
        QPainter painter(&image);
        painter.setClipRect(visible);
        painter.translate(origin.x, origin.y);
        TCanvas canvas(painter);
        control.paint(canvas);
    }
    if (const auto* container = dynamic_cast<const TWinControl*>(&control)) {
        // A copy: painting may rebuild a container's children (a radio group's buttons).
        const std::vector<TControl*> children = container->controls();
        for (TControl* child : children)
            if (std::find(container->controls().begin(), container->controls().end(), child) !=
                container->controls().end())
                paintWithin(image, *child, {origin.x + child->left(), origin.y + child->top()}, visible);
    }
}

}  // namespace

void paintControlTree(QImage& image, TControl& control, TPoint origin)
{
    paintWithin(image, control, origin, image.rect());
}

}  // namespace trovelin
