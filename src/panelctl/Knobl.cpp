#include "panelctl/Knobl.h"

#include <algorithm>
#include <string>

#include "framework/Canvas.h"
#include "framework/ControlProperties.h"
#include "panelctl/KnobGeometry.h"

namespace trovelin {

TKnobL::TKnobL(Component* owner) : KnobControl(owner, 255) {}

const ClassInfo& TKnobL::staticClassInfo()
{
    using C = TKnobL;
    using Base = KnobControl;
    namespace shared = controlProperties;
    static const ClassInfo info{
        "TKnobL",
        &TControl::staticClassInfo(),
        {
            published::object("Brush", TBrush::staticClassInfo(), &Base::brush, &Base::assignBrush),
            shared::dragCursor(),
            shared::dragMode(),
            shared::enabled(),
            shared::parentShowHint(),
            published::object("Pen", TPen::staticClassInfo(), &Base::pen, &Base::assignPen),
            published::integer("Min", &Base::min, &Base::setMin, 0),
            published::integer("Max", &Base::max, &Base::setMax, 255),
            published::integer("Position", &Base::position, &C::setPosition, 0),
            shared::showHint(),
            shared::visible(),
            published::event("OnDragDrop", &TControl::onDragDrop),
            published::event("OnDragOver", &TControl::onDragOver),
            published::event("OnEndDrag", &TControl::onEndDrag),
            published::event("OnMouseDown", &TControl::onMouseDown),
            published::event("OnMouseMove", &TControl::onMouseMove),
            published::event("OnMouseUp", &TControl::onMouseUp),
            published::event("OnStartDrag", &TControl::onStartDrag),
            published::event("OnChange", &Base::onChange),
        },
        &createComponent<TKnobL>};
    return info;
}

void TKnobL::setPosition(std::int32_t value)
{
    value = std::min(std::max(value, min()), max());
    bool drawn = false;
    drawOnCanvas([&](TCanvas& canvas) {
        drawValue(canvas, value);
        drawn = true;
    });
    if (!drawn) position_ = value;
}

void TKnobL::drawValue(TCanvas& canvas, std::int32_t value)
{
    value = std::min(std::max(value, min()), max());
    const KnobSquare sq = square();
    canvas.pen().setColor(brush().color());
    canvas.pen().setWidth(pen().width());
    canvas.moveTo(pointerStart_.x, pointerStart_.y);
    canvas.lineTo(pointerEnd_.x, pointerEnd_.y);

    takeStyle(canvas);
    const int o = sq.h + 3;
    const int d0 = sq.s - 6;
    const int d = d0 - d0 / 15;
    canvas.font().setName("Arial");
    canvas.font().setSize(d / 5);
    canvas.font().setColor(clWindowText);
    const std::string label = std::to_string(value);
    const int labelTop = o + d / 2 + d / 8;
    canvas.pen().setColor(brush().color());
    canvas.rectangle(o + d / 2 - labelWidth_ / 2 - 1, labelTop, o + d / 2 + labelWidth_ / 2 + 1,
                     labelTop + canvas.textHeight("T"));
    const int textWidth = canvas.textWidth(label);
    canvas.textOut(o + d / 2 - textWidth / 2, labelTop, label);
    labelWidth_ = textWidth;

    const TPoint centre{o + d / 2, o + d / 2};
    const int length = d / 2 - 2 - sq.p;
    const TPoint end = knobLPointerEnd(centre, length, knobLPointerAngle(value, min(), max()));
    canvas.pen().setColor(pen().color());
    canvas.pen().setWidth(pen().width());
    canvas.moveTo(centre.x, centre.y);
    canvas.lineTo(end.x, end.y);
    pointerStart_ = centre;
    pointerEnd_ = end;
    position_ = value;
}

void TKnobL::mouseSet(int x, int y)
{
    const auto angle = knobLAngle(x - width() / 2, y - height() / 2);
    if (!angle) return;
    const int value = knobLValue(*angle, min(), max());
    if (value != position_) setPosition(value);
}

void TKnobL::paint(TCanvas& canvas)
{
    if (!parent()) return;
    takeStyle(canvas);
    canvas.pen().setWidth(1);
    for (const ScaleMark& mark : scaleMarks(square(), ScaleMarkStyle::thin)) {
        canvas.moveTo(mark.from.x, mark.from.y);
        canvas.lineTo(mark.to.x, mark.to.y);
    }
    const KnobSquare sq = square();
    const int o = sq.h + 3;
    const int d0 = sq.s - 6;
    const int d = d0 - d0 / 20;
    paintRimAndFace(canvas, clWindow, d);
    canvas.pen().setColor(clGray);
    canvas.arc(o, o, o + d, o + d, o + d / 4, o + d - d / 4, (o + d) - (o + d) / 4, (o + d) / 4);
    drawValue(canvas, position_);
}

void TKnobL::mouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (!enabled()) return;
    if (button != TMouseButton::mbLeft) {
        TGraphicControl::mouseDown(button, shift, x, y);
        return;
    }
    dragging_ = true;
    mouseSet(x, y);
    change();
}

void TKnobL::mouseMove(TShiftState, int x, int y)
{
    if (!dragging_) return;
    mouseSet(x, y);
    change();
}

void TKnobL::mouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (dragging_) {
        mouseSet(x, y);
        dragging_ = false;
    } else if (button != TMouseButton::mbLeft) {
        TGraphicControl::mouseUp(button, shift, x, y);
    }
}

}  // namespace trovelin
