#include "panelctl/Knob.h"

#include <algorithm>

#include "framework/Canvas.h"
#include "framework/ControlProperties.h"
#include "panelctl/KnobGeometry.h"

namespace trovelin {

namespace {

// Read-only: a record that names it fails as one that sets any read-only property.
PropertyInfo downProperty()
{
    PropertyInfo info;
    info.name = "Down";
    info.kind = PropertyKind::Enumeration;
    info.elements = &booleanType();
    info.get = [](Persistent& o) -> PropertyValue {
        return std::int64_t{static_cast<KnobControl&>(o).down()};
    };
    return info;
}

}  // namespace

TKnob::TKnob(Component* owner) : KnobControl(owner, 127) {}

const ClassInfo& TKnob::staticClassInfo()
{
    using C = TKnob;
    using Base = KnobControl;
    namespace shared = controlProperties;
    static const ClassInfo info{
        "TKnob",
        &TControl::staticClassInfo(),
        {
            published::object("Brush", TBrush::staticClassInfo(), &Base::brush, &Base::assignBrush),
            shared::dragCursor(),
            shared::dragMode(),
            shared::enabled(),
            shared::parentShowHint(),
            published::object("Pen", TPen::staticClassInfo(), &Base::pen, &Base::assignPen),
            published::integer("Max", &Base::max, &Base::setMax, 10),
            published::integer("Min", &Base::min, &Base::setMin, 0),
            published::integer("Position", &Base::position, &C::setPosition, std::nullopt),
            downProperty(),
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
        &createComponent<TKnob>};
    return info;
}

void TKnob::setPosition(std::int32_t value)
{
    bool drawn = false;
    drawOnCanvas([&](TCanvas& canvas) {
        drawValue(canvas, value);
        drawn = true;
    });
    if (!drawn) {
        position_ = value;
        change();
    }
}

void TKnob::drawValue(TCanvas& canvas, std::int32_t value)
{
    const KnobSquare sq = square();
    takeStyle(canvas);
    canvas.pen().setColor(brush().color());
    canvas.pen().setWidth(sq.p + 1);
    canvas.ellipse(dot_.left, dot_.top, dot_.right, dot_.bottom);

    const int o = sq.h + 3;
    const int d0 = sq.s - 6;
    const int d = d0 - d0 / 15;
    const int k = std::max(d / 5, 2);
    const TPoint centre{o + d / 2, o + d / 2};
    const TPoint offset = knobDotOffset(d / 2 - k / 2 - 2, knobPointerAngle(value, min(), max()));
    dot_ = {centre.x - k / 2 + offset.x, centre.y - k / 2 + offset.y, centre.x + k / 2 + offset.x,
            centre.y + k / 2 + offset.y};
    canvas.pen().setColor(pen().color());
    canvas.pen().setWidth(pen().width());
    canvas.brush().setColor(clWindow);
    canvas.ellipse(dot_.left, dot_.top, dot_.right, dot_.bottom);
    position_ = value;
    change();
}

void TKnob::mouseSet(int x, int y)
{
    const auto angle = knobAngle(x - width() / 2, y - height() / 2);
    if (angle) setPosition(knobValue(*angle, min(), max()));
}

void TKnob::paint(TCanvas& canvas)
{
    if (!parent()) return;
    takeStyle(canvas);
    for (const ScaleMark& mark : scaleMarks(square(), ScaleMarkStyle::bold)) {
        canvas.pen().setWidth(mark.penWidth);
        canvas.moveTo(mark.from.x, mark.from.y);
        canvas.lineTo(mark.to.x, mark.to.y);
    }
    const int d0 = square().s - 6;
    paintRimAndFace(canvas, clBtnHighlight, d0 - d0 / 15);
    drawValue(canvas, position_);
}

void TKnob::mouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::mouseDown(button, shift, x, y);
    if (button != TMouseButton::mbLeft || !enabled()) return;
    dragging_ = true;
    mouseSet(x, y);
}

void TKnob::mouseMove(TShiftState shift, int x, int y)
{
    TGraphicControl::mouseMove(shift, x, y);
    if (dragging_) mouseSet(x, y);
}

void TKnob::mouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::mouseUp(button, shift, x, y);
    mouseSet(x, y);
    dragging_ = false;
}

}  // namespace trovelin
