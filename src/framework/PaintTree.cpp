#include "framework/PaintTree.h"

#include <algorithm>
#include <cstdint>

#include <QPainter>
#include <QRegion>

#include "framework/Canvas.h"
#include "framework/PaintBuffer.h"
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

// Past this many rectangles the region that the controls above cover grows no more: controls
// below it are then painted where they might have been left out, which costs time, not pixels.
constexpr int maxCoverRects = 256;

// `clip` is what the parents and the opaque controls above leave visible, in image coordinates.
// A control that shows at all starts within an int of the image, since its width is an int.
void paintWithin(QImage& image, PaintBufferBudget& budget, TControl& control, std::int64_t x, std::int64_t y,
                 const QRegion& clip)
{
    if (!control.visible()) return;
    const QRect bounds = visiblePart(clip.boundingRect(), x, y, control.width(), control.height());
    if (bounds.isEmpty()) return;
    const QRegion visible = clip.rectCount() == 1 ? QRegion(bounds) : clip.intersected(bounds);
    if (visible.isEmpty()) return;
    {
        QPainter painter(&image);
        if (visible.rectCount() == 1)
            painter.setClipRect(visible.boundingRect());
        else
            painter.setClipRegion(visible);
        painter.translate(static_cast<int>(x), static_cast<int>(y));
        TCanvas canvas(painter);
        canvas.setBudget(&budget);
        control.paint(canvas);
    }
    const auto* container = dynamic_cast<const TWinControl*>(&control);
    if (container == nullptr) return;
    // A copy: painting may rebuild a container's children (a radio group's buttons).
    const std::vector<TControl*> children = container->controls();
    // A child shows where no opaque child above it covers it: the one above would paint over
    // whatever it drew there, so painting and buffers cost what shows, however many controls
    // a panel stacks.
    std::vector<QRegion> shows(children.size());
    QRegion covered;
    for (std::size_t i = children.size(); i-- > 0;) {
        const TControl& child = *children[i];
        if (!child.visible()) continue;
        const QRect rect =
            visiblePart(visible.boundingRect(), x + child.left(), y + child.top(), child.width(), child.height());
        if (rect.isEmpty()) continue;
        shows[i] = visible.intersected(rect).subtracted(covered);
        const TRect opaque = child.opaqueArea();
        if (opaque.isEmpty() || covered.rectCount() >= maxCoverRects) continue;
        covered += visiblePart(visible.boundingRect(), x + child.left() + opaque.left, y + child.top() + opaque.top,
                               opaque.width(), opaque.height());
    }
    for (std::size_t i = 0; i < children.size(); ++i) {
        TControl* child = children[i];
        if (!shows[i].isEmpty() && container->hasControl(child))
            paintWithin(image, budget, *child, x + child->left(), y + child->top(), shows[i]);
    }
}

}  // namespace

void paintControlTree(QImage& image, TControl& control, PaintBufferBudget& budget, TPoint origin)
{
    // The buffers that the controls keep are bounded by the surface they show on.
    budget.noteSurface(image.width(), image.height());
    paintWithin(image, budget, control, origin.x, origin.y, QRegion(image.rect()));
}

}  // namespace trovelin
