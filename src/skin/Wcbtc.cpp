#include "skin/Wcbtc.h"

#include <algorithm>

#include "framework/Canvas.h"
#include "framework/ControlProperties.h"
#include "skin/SkinPalette.h"
#include "skin/Wconst.h"

namespace trovelin {

TWCBTC::TWCBTC(Component* owner) : TGraphicControl(owner)
{
    // Clicks come from the release alone, wherever the pointer is then.
    setClicksItself();
    setWidth(31);
    setHeight(31);
}

const ClassInfo& TWCBTC::staticClassInfo()
{
    using C = TWCBTC;
    namespace shared = controlProperties;
    static const ClassInfo info{
        "TWCBTC",
        &TControl::staticClassInfo(),
        {published::integer("Color", &C::color, &C::setColor, clRed, &colorConstants()),
         published::boolean("Down", &C::down, &C::setDown, false),
         published::boolean("ParentColor", &C::parentColor, &C::setParentColor, true), shared::enabled(),
         shared::visible(), published::event("OnClick", &C::onClick),
         published::event("OnMouseDown", &C::onMouseDown), published::event("OnMouseMove", &C::onMouseMove),
         published::event("OnMouseUp", &C::onMouseUp)},
        &createComponent<TWCBTC>};
    return info;
}

void TWCBTC::setColor(TColor value)
{
    if (value == color_) return;
    color_ = value;
    invalidate();
}

void TWCBTC::setParentColor(bool value)
{
    if (value == parentColor_) return;
    parentColor_ = value;
    invalidate();
}

void TWCBTC::setDown(bool value)
{
    if (value == down_) return;
    down_ = value;
    invalidate();
}

TRect TWCBTC::lampBox() const
{
    const int w = limitedExtent(width()), h = limitedExtent(height());
    const int r = std::min(w, h) * 7 / 20;
    const int shift = down_ ? 1 : 0;
    const int cx = w / 2 + shift, cy = h / 2 + shift;
    return {cx - r, cy - r, cx + r, cy + r};
}

void TWCBTC::paint(TCanvas& canvas)
{
    if (parent() == nullptr) return;
    const int w = limitedExtent(width()), h = limitedExtent(height());
    const SkinPalette greys = SkinPalette::fixed();
    DrawShadeV(canvas, {0, 0, w - 1, h - 1}, clBtnFace);
    DrawBevelFrame(canvas, {0, 0, w - 1, h - 1}, down_ ? greys.darkShadow : greys.highlight,
                   down_ ? greys.highlight : greys.darkShadow);

    const TRect lamp = lampBox();
    canvas.pen().setColor(color_);
    canvas.brush().setStyle(TBrushStyle::bsSolid);
    canvas.brush().setColor(color_);
    canvas.ellipse(lamp.left, lamp.top, lamp.right, lamp.bottom);
}

void TWCBTC::mouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::mouseDown(button, shift, x, y);
    if (button != TMouseButton::mbLeft || !enabled()) return;
    down_ = true;
    repaint();
}

void TWCBTC::mouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::mouseUp(button, shift, x, y);
    if (button != TMouseButton::mbLeft || !enabled()) return;
    down_ = false;
    repaint();
    click();
}

}  // namespace trovelin
