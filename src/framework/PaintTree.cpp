#include "framework/PaintTree.h"

#include <algorithm>
#include <cstdint>

#include <QPainter>

#include "framework/Canvas.h"
#include "framework/WinControl.h"

namespace trovelin {

namespace {

// What of a control at (x, y) of `width` x `height` the clip leaves visible. A record may place
// a control anywhere an integer reaches, so the sums are taken in 64 bits before Qt sees them.
QRect visiblePart(const QRect& clip, std::int64_t x, std::int64_t y, std::int32_t width, std::int32_t height)
{
    const std::int64_t left = std::max<std::int64_t>(x, clip.left());
    const std::int64_t top = std::max<std::int64_t>(y, clip.top());
    const std::int64_t right = std::min<std::int64_t>(x + std::max(width, 0), std::int64_t{clip.left()} + clip.width());
    const std::int64_t bottom =
        std::min<std::int64_t>(y + std::max(height, 0), std::int64_t{clip.top()} + clip.height());
    if (right <= left || bottom <= top) return {};
    return QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                 static_cast<int>(bottom - top));
}

// `clip` is what the parents leave visible, in image coordinates. A control that shows at all
// starts within an int of the image, since its width is an int.
void paintWithin(QImage& image, TControl& control, std::int64_t x, std::int64_t y, const QRect& clip)
{
    if (!control.visible()) return;
    const QRect visible = visiblePart(clip, x, y, control.width(), control.height());
    if (visible.isEmpty()) return;
    {
        QPainter painter(&image);
        painter.setClipRect(visible);
        painter.translate(static_cast<int>(x), static_cast<int>(y));
        TCanvas canvas(painter);
        control.paint(canvas);
    }
    if (const auto* container = dynamic_cast<const TWinControl*>(&control)) {
        // A copy: painting may rebuild a container's children (a radio group's buttons).
        const std::vector<TControl*> children = container->controls();
        for (TControl* child : children)
            if (container->hasControl(child)) paintWithin(image, *child, x + child->left(), y + child->top(), visible);
    }
}

}  // namespace

void paintControlTree(QImage& image, TControl& control, TPoint origin)
{
    paintWithin(image, control, origin.x, origin.y, image.rect());
}

}  // namespace trovelin
