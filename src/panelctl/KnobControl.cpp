#include "panelctl/KnobControl.h"

#include <algorithm>
#include <cstdint>

#include "framework/Canvas.h"
#include "panelctl/KnobGeometry.h"
#include "streaming/Errors.h"

namespace trovelin {

KnobControl::KnobControl(Component* owner, std::int32_t max) : TGraphicControl(owner), max_(max)
{
    setWidth(40);
    setHeight(40);
    brush_.setColor(clBtnFace);
    pen_.setOnChange([this] { styleChanged(); });
    brush_.setOnChange([this] { styleChanged(); });
}

void KnobControl::assignPen(const Persistent* other)
{
    auto* source = dynamic_cast<const TPen*>(other);
    if (!source) throw EReadError(messages::invalidPropertyValue);
    setPen(*source);
}

void KnobControl::assignBrush(const Persistent* other)
{
    auto* source = dynamic_cast<const TBrush*>(other);
    if (!source) throw EReadError(messages::invalidPropertyValue);
    setBrush(*source);
}

void KnobControl::setParams(std::int32_t position, std::int32_t min, std::int32_t max)
{
    // At the top of the int range there is no min + 1; the range then shrinks to the one value.
    if (min > max) max = min == INT32_MAX ? min : min + 1;
    position = std::min(std::max(position, min), max);
    if (min != min_) {
        min_ = min;
        invalidate();
    }
    if (max != max_) {
        max_ = max;
        invalidate();
    }
    if (position != position_) positionLimited(position);
}

KnobSquare KnobControl::square() const
{
    return knobSquare(width(), height(), pen_.width());
}

void KnobControl::takeStyle(TCanvas& canvas) const
{
    canvas.pen().assign(pen_);
    canvas.brush().assign(brush_);
}

TRect KnobControl::opaqueArea() const
{
    if (parent() == nullptr || brush_.style() != TBrushStyle::bsSolid) return {};
    const KnobSquare sq = square();
    const int o = sq.h + 3;
    const int d0 = sq.s - 6;
    // Half the side of the square inscribed in the disc (d0 / 2 / sqrt 2), a pixel short of it.
    const int half = d0 * 7 / 20 - 1;
    const int centre = o + d0 / 2;
    if (half <= 0) return {};
    return {centre - half, centre - half, centre + half, centre + half};
}

void KnobControl::paintRimAndFace(TCanvas& canvas, TColor facePen, int faceDiameter) const
{
    const KnobSquare sq = square();
    const int o = sq.h + 3;
    const int d0 = sq.s - 6;
    canvas.pen().setWidth(pen_.width());
    canvas.pen().setColor(pen_.color());
    canvas.brush().setColor(clWindowText);
    canvas.ellipse(o, o, o + d0, o + d0);
    canvas.brush().setColor(brush_.color());
    canvas.pen().setColor(facePen);
    canvas.ellipse(o, o, o + faceDiameter, o + faceDiameter);
}

}  // namespace trovelin
