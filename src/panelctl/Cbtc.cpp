#include "panelctl/Cbtc.h"

#include <algorithm>
#include <cstdint>

#include "framework/Canvas.h"
#include "framework/ControlProperties.h"

namespace trovelin {

TRect cbtcDiscBox(int width, int height, bool down)
{
    const int radius = static_cast<int>(std::int64_t{std::min(width, height)} * 4 / 10);
    const int cx = width / 2 + (down ? 1 : 0), cy = height / 2 + (down ? 1 : 0);
    return {cx - radius, cy - radius, cx + radius, cy + radius};
}

TCBTC::TCBTC(Component* owner) : TGraphicControl(owner)
{
    // Clicks come from the release alone, wherever the pointer is then.
    setClicksItself();
    setWidth(31);
    setHeight(31);
}

const ClassInfo& TCBTC::staticClassInfo()
{
    using C = TCBTC;
    namespace shared = controlProperties;
    static const ClassInfo info{
        "TCBTC",
        &TControl::staticClassInfo(),
        {shared::enabled(), shared::parentShowHint(),
         published::integer("Color", &C::color, &C::setColor, std::nullopt, &colorConstants()),
         published::boolean("Down", &C::down, &C::setDown, false), shared::showHint(), shared::visible(),
         published::event("OnMouseDown", &C::onMouseDown), published::event("OnMouseMove", &C::onMouseMove),
         published::event("OnMouseUp", &C::onMouseUp), published::event("OnClick", &C::onClick)},
        &createComponent<TCBTC>};
    return info;
}

void TCBTC::setColor(TColor value)
{
    if (value == color_) return;
    color_ = value;
    repaint();
}

void TCBTC::setDown(bool value)
{
    if (value == down_) return;
    down_ = value;
    repaint();
}

void TCBTC::paint(TCanvas& canvas)
{
    const int w = width(), h = height();
    canvas.pen().setWidth(1);
    canvas.pen().setColor(down_ ? clWindowText : clBtnHighlight);
    canvas.moveTo(0, h - 1);
    canvas.lineTo(0, 0);
    canvas.lineTo(w - 1, 0);
    canvas.pen().setColor(down_ ? clBtnHighlight : clWindowText);
    canvas.lineTo(w - 1, h - 1);
    canvas.lineTo(0, h - 1);

    canvas.pen().setColor(clBtnShadow);
    if (down_) {
        canvas.moveTo(1, h - 2);
        canvas.lineTo(1, 1);
        canvas.lineTo(w - 2, 1);
    } else {
        canvas.moveTo(w - 2, 1);
        canvas.lineTo(w - 2, h - 2);
        canvas.lineTo(1, h - 2);
    }

    canvas.pen().setColor(clBtnFace);
    canvas.brush().setStyle(TBrushStyle::bsSolid);
    canvas.brush().setColor(color_);
    const TRect disc = cbtcDiscBox(w, h, down_);
    canvas.ellipse(disc.left, disc.top, disc.right, disc.bottom);
}

void TCBTC::mouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::mouseDown(button, shift, x, y);
    if (button != TMouseButton::mbLeft || !enabled()) return;
    down_ = true;
    repaint();
}

void TCBTC::mouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::mouseUp(button, shift, x, y);
    if (button != TMouseButton::mbLeft || !down_) return;
    down_ = false;
    repaint();
    click();
}

}  // namespace trovelin
