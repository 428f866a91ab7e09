#include "skin/Wblinkbutton.h"

#include "framework/Canvas.h"
#include "framework/ControlProperties.h"
#include "framework/ControlServices.h"
#include "framework/Timer.h"
#include "skin/Wconst.h"

namespace trovelin {
namespace {

constexpr int blinkInterval = 500;

}  // namespace

TWBlinkButton::TWBlinkButton(Component* owner) : TGraphicControl(owner)
{
    setClicksItself();
    setWidth(31);
    setHeight(31);
}

TWBlinkButton::~TWBlinkButton() = default;

const ClassInfo& TWBlinkButton::staticClassInfo()
{
    using C = TWBlinkButton;
    namespace shared = controlProperties;
    static const ClassInfo info{
        "TWBlinkButton",
        &TControl::staticClassInfo(),
        {published::integer("AlterColor", &C::alterColor, &C::setAlterColor, clBtnHighlight, &colorConstants()),
         shared::caption(), published::integer("Color", &C::color, &C::setColor, clBtnFace, &colorConstants()),
         published::boolean("Down", &C::down, &C::setDown, false), shared::enabled(), shared::font(),
         shared::visible(), published::event("OnClick", &C::onClick),
         published::event("OnMouseDown", &C::onMouseDown), published::event("OnMouseMove", &C::onMouseMove),
         published::event("OnMouseUp", &C::onMouseUp)},
        &createComponent<TWBlinkButton>};
    return info;
}

void TWBlinkButton::setColor(TColor value)
{
    if (value == color_ && value == current_) return;
    color_ = current_ = value;
    invalidate();
}

void TWBlinkButton::setDown(bool value)
{
    if (value == down_) return;
    down_ = value;
    if (down_) {
        startBlinking();
    } else {
        blinkTimer_.reset();
        current_ = color_;
    }
    invalidate();
}

void TWBlinkButton::startBlinking()
{
    if (blinkTimer_ || services() == nullptr) return;
    blinkTimer_ = std::make_unique<TTimer>(services()->timers());
    blinkTimer_->onTimer = [this] { blink(); };
    blinkTimer_->setInterval(blinkInterval);
}

void TWBlinkButton::blink()
{
    current_ = current_ == color_ ? alterColor_ : color_;
    invalidate();
}

void TWBlinkButton::paint(TCanvas& canvas)
{
    if (parent() == nullptr) return;
    if (down_) startBlinking();
    const int w = limitedExtent(width()), h = limitedExtent(height());
    const TColor light = LightenColor32(current_), shadow = DarkenColor32(current_), dark = DarkenColor96(current_);
    const TRect face{0, 0, w - 1, h - 1};
    if (down_)
        DrawGradient(canvas, face, shadow, light);
    else
        DrawShadeV(canvas, face, current_);
    DrawBevelFrame(canvas, face, down_ ? dark : shadow, down_ ? shadow : dark);
    if (caption().empty()) return;
    canvas.font().assign(font());
    const int th = canvas.textHeight("H"), tw = canvas.textWidth(caption());
    canvas.brush().setStyle(TBrushStyle::bsClear);
    canvas.textOut((w - tw) / 2, (h - th) / 2, caption());
    canvas.brush().setStyle(TBrushStyle::bsSolid);
}

void TWBlinkButton::mouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::mouseDown(button, shift, x, y);
    if (button == TMouseButton::mbLeft && enabled()) setDown(!down_);
}

void TWBlinkButton::mouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::mouseUp(button, shift, x, y);
    if (button == TMouseButton::mbLeft) click();
}

}  // namespace trovelin
