#include "skin/Wscrollbar.h"

#include <algorithm>
#include <array>
#include <utility>

#include "framework/Canvas.h"
#include "framework/ControlProperties.h"
#include "framework/ControlServices.h"
#include "framework/Keys.h"
#include "framework/Timer.h"
#include "skin/Wconst.h"

namespace trovelin {
namespace {

constexpr int firstRepeatDelay = 500;
constexpr int repeatInterval = 200;
constexpr int minimumLength = 48;
constexpr int minimumThickness = 10;

struct ButtonLook {
    bool gradient;
    TColor top, bottom;              // the gradient's first and second colour
    TColor topLeft, bottomRight;     // the outer frame
};

void line(TCanvas& canvas, int x1, int y1, int x2, int y2)
{
    canvas.moveTo(x1, y1);
    canvas.lineTo(x2, y2);
}

}  // namespace

// The bar measured along and across, limited so that no arithmetic nears the integer limit.
struct TWScrollBar::Shape {
    bool horizontal;
    int length;     // along the bar
    int thickness;  // across it
    int button;     // each arrow button's and the thumb's length
    int track;      // what the thumb travels: length less three buttons
    int thumb;      // where the thumb starts

    // A rectangle from `from` to `to` along the bar, across its whole thickness.
    TRect span(int from, int to) const
    {
        return horizontal ? TRect{from, 0, to, thickness} : TRect{0, from, thickness, to};
    }
    TPoint point(int along, int across) const { return horizontal ? TPoint{along, across} : TPoint{across, along}; }
};

TWScrollBar::TWScrollBar(Component* owner) : TCustomControl(owner)
{
    TCustomControl::setWidth(48);
    TCustomControl::setHeight(16);
    // A press steps the bar; it is never a click.
    setClicksItself();
    setCtl3D(false);
    setTabStop(true);
}

TWScrollBar::~TWScrollBar() = default;

const ClassInfo& TWScrollBar::staticClassInfo()
{
    using C = TWScrollBar;
    namespace shared = controlProperties;
    static const EnumType kindNames{"sbHorizontal", "sbVertical"};
    static const ClassInfo info{
        "TWScrollBar", &TCustomControl::staticClassInfo(),
        {published::integer("Width", &C::width, &C::setWidth, std::nullopt),
         published::integer("Height", &C::height, &C::setHeight, std::nullopt), shared::align(),
         published::integer("Color", &C::color, &C::setColor, clBtnFace, &colorConstants()), shared::ctl3D(),
         shared::enabled(),
         published::enumeration("Kind", kindNames, &C::kind, &C::setKind, std::optional(TScrollBarKind::sbHorizontal)),
         published::integer("LargeChange", &C::largeChange, &C::setLargeChange, std::nullopt),
         published::integer("Max", &C::max, &C::setMax, std::nullopt),
         published::integer("Min", &C::min, &C::setMin, 0),
         published::integer("PageSize", &C::pageSize, &C::setPageSize, 0),
         published::boolean("ParentColor", &C::parentColor, &C::setParentColor, true), shared::parentCtl3D(),
         published::integer("Position", &C::position, &C::setPosition, 0),
         published::integer("SmallChange", &C::smallChange, &C::setSmallChange, std::nullopt), shared::tabOrder(),
         shared::tabStop(true), shared::visible(), published::event("OnChange", &C::onChange)},
        &createComponent<TWScrollBar>};
    return info;
}

void TWScrollBar::setWidth(std::int32_t value)
{
    TCustomControl::setWidth(value);
    if (!loading()) keepMinimumSize();
    invalidate();
}

void TWScrollBar::setHeight(std::int32_t value)
{
    TCustomControl::setHeight(value);
    if (!loading()) keepMinimumSize();
    invalidate();
}

void TWScrollBar::loaded()
{
    TCustomControl::loaded();
    keepMinimumSize();
}

void TWScrollBar::keepMinimumSize()
{
    const bool horizontal = kind_ == TScrollBarKind::sbHorizontal;
    const int minimumWidth = horizontal ? minimumLength : minimumThickness;
    const int minimumHeight = horizontal ? minimumThickness : minimumLength;
    if (width() < minimumWidth) TCustomControl::setWidth(minimumWidth);
    if (height() < minimumHeight) TCustomControl::setHeight(minimumHeight);
}

void TWScrollBar::setKind(TScrollBarKind value)
{
    kind_ = value;
    const bool vertical = value == TScrollBarKind::sbVertical;
    if ((vertical && height() < width()) || (!vertical && width() < height())) {
        const std::int32_t oldWidth = width();
        TCustomControl::setWidth(height());
        TCustomControl::setHeight(oldWidth);
    }
    if (!loading()) keepMinimumSize();
    invalidate();
}

void TWScrollBar::setPosition(std::int64_t value)
{
    if (value > max_) value = max_;
    if (value < min_) value = min_;
    if (value == position_) return;
    position_ = static_cast<std::int32_t>(value);
    invalidate();
}

void TWScrollBar::setColor(TColor value)
{
    if (colouring_.setColor(value)) invalidate();
}

void TWScrollBar::setParentColor(bool value)
{
    colouring_.setParentColor(value);
    invalidate();
}

TWScrollBar::Shape TWScrollBar::shape() const
{
    Shape s{};
    s.horizontal = kind_ == TScrollBarKind::sbHorizontal;
    s.length = limitedExtent(s.horizontal ? width() : height());
    s.thickness = limitedExtent(s.horizontal ? height() : width());
    s.button = s.length < 3 * s.thickness ? s.length / 3 : s.thickness;
    s.track = s.length - 3 * s.button;
    // A range of Max not above Min cannot be divided by: the thumb rests at Min's place. A
    // Position that Min or Max left outside them keeps the thumb on its track.
    const std::int64_t range = std::int64_t{max_} - min_;
    const std::int64_t travel = range > 0 ? (std::int64_t{position_} - min_) * s.track / range : 0;
    s.thumb = s.button + static_cast<int>(std::clamp<std::int64_t>(travel, 0, s.track));
    return s;
}

int TWScrollBar::buttonSize() const { return shape().button; }

int TWScrollBar::thumbOffset() const { return shape().thumb; }

void TWScrollBar::stepBy(std::int64_t delta)
{
    setPosition(std::int64_t{position_} + delta);
    if (onChangeHandler) onChangeHandler(*this);
}

void TWScrollBar::UpClick() { stepBy(smallChange_); }
void TWScrollBar::DownClick() { stepBy(-std::int64_t{smallChange_}); }
void TWScrollBar::LargeUpClick() { stepBy(largeChange_); }
void TWScrollBar::LargeDownClick() { stepBy(-std::int64_t{largeChange_}); }

void TWScrollBar::startRepeat()
{
    if (services() == nullptr) return;
    repeatTimer_ = std::make_unique<TTimer>(services()->timers());
    repeatTimer_->onTimer = [this] { repeat(); };
    repeatTimer_->setInterval(firstRepeatDelay);
}

void TWScrollBar::repeat()
{
    repeatTimer_->setInterval(repeatInterval);
    switch (zone_) {
    case ScrollZone::firstArrow: DownClick(); break;
    case ScrollZone::lastArrow: UpClick(); break;
    case ScrollZone::trackBeforeThumb: LargeDownClick(); break;
    case ScrollZone::trackAfterThumb: LargeUpClick(); break;
    default: repeatTimer_.reset(); break;
    }
}

void TWScrollBar::enabledChanged()
{
    repeatTimer_.reset();
    zone_ = ScrollZone::none;
}

void TWScrollBar::mouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == TMouseButton::mbLeft && enabled()) {
        setFocus();
        const Shape s = shape();
        const std::int64_t p = s.horizontal ? x : y;
        const std::int64_t t = s.thumb - s.button;
        if (p < s.button) {
            zone_ = ScrollZone::firstArrow;
            DownClick();
        } else if (p > s.length - s.button) {
            zone_ = ScrollZone::lastArrow;
            UpClick();
        } else if (p - s.button < t) {
            zone_ = ScrollZone::trackBeforeThumb;
            LargeDownClick();
        } else if (t + s.button < p - s.button) {
            zone_ = ScrollZone::trackAfterThumb;
            LargeUpClick();
        } else {
            zone_ = ScrollZone::thumb;
        }
        invalidate();
    }
    TCustomControl::mouseDown(button, shift, x, y);
    if (button == TMouseButton::mbLeft && zone_ != ScrollZone::none && zone_ != ScrollZone::thumb && !repeatTimer_)
        startRepeat();
}

void TWScrollBar::mouseMove(TShiftState shift, int x, int y)
{
    const Shape s = shape();
    const std::int64_t range = std::int64_t{max_} - min_;
    // Without a track or a range no drag can map to a value: the thumb stays.
    if (enabled() && zone_ == ScrollZone::thumb && s.track > 0 && range > 0) {
        const std::int64_t p = s.horizontal ? x : y;
        const std::int64_t c = std::clamp<std::int64_t>(p - s.button - s.button / 2, 0, s.length - 2 * s.button);
        const std::int64_t value = std::clamp<std::int64_t>(c * range / s.track + min_, min_, max_);
        if (value != position_) {
            setPosition(value);
            if (onChangeHandler) onChangeHandler(*this);
        }
    }
    TCustomControl::mouseMove(shift, x, y);
}

void TWScrollBar::mouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == TMouseButton::mbLeft) {
        repeatTimer_.reset();
        zone_ = ScrollZone::none;
        invalidate();
    }
    if (enabled()) TCustomControl::mouseUp(button, shift, x, y);
}

void TWScrollBar::mouseEnter()
{
    if (!enabled()) return;
    mouseOver_ = true;
    invalidate();
}

void TWScrollBar::mouseLeave()
{
    // Cleared whatever the state, so that a bar disabled under the pointer is not hot when it
    // comes back.
    if (!mouseOver_) return;
    mouseOver_ = false;
    invalidate();
}

void TWScrollBar::keyDown(int& key, TShiftState shift)
{
    TCustomControl::keyDown(key, shift);
    // Up means towards Max on a horizontal bar and towards Min on a vertical one.
    const bool horizontal = kind_ == TScrollBarKind::sbHorizontal;
    switch (key) {
    case VK_UP: horizontal ? UpClick() : DownClick(); break;
    case VK_DOWN: horizontal ? DownClick() : UpClick(); break;
    case VK_PRIOR: horizontal ? LargeUpClick() : LargeDownClick(); break;
    case VK_NEXT: horizontal ? LargeDownClick() : LargeUpClick(); break;
    default: return;
    }
    key = 0;
}

void TWScrollBar::doEnter()
{
    hasFocus_ = true;
    invalidate();
    TCustomControl::doEnter();
}

void TWScrollBar::doExit()
{
    hasFocus_ = false;
    invalidate();
    TCustomControl::doExit();
}

void TWScrollBar::BallPoolPaint(PaintBuffer& image, ScrollZone button, const Shape& s)
{
    const SkinPalette& p = colouring_.palette();
    const bool thumb = button == ScrollZone::thumb;
    const bool pressed = zone_ == button;
    ButtonLook look{false, 0, 0, p.shadow, p.darkShadow};
    if (!enabled())
        look = {true, p.shadow, p.darkShadow, p.highlight, p.darkShadow};
    else if (pressed && mouseOver_)
        look = {true, p.hotShadow, p.hotHighlight, p.hotDarkShadow, p.brightHighlight};
    else if (pressed)
        look = {true, p.shadow, p.highlight, p.darkShadow, p.shadow};
    else if (thumb && mouseOver_)
        look = {true, p.hotHighlight, p.hotShadow, p.brightHighlight, p.hotDarkShadow};

    PaintBufferCanvas canvas(image);
    const int w = s.horizontal ? s.button : s.thickness, h = s.horizontal ? s.thickness : s.button;
    if (look.gradient)
        DrawGradient(canvas, {0, 0, w - 1, h - 1}, look.top, look.bottom);
    else
        DrawShadeV(canvas, {0, 0, w - 1, h - 1}, colouring_.color());
    if (thumb && pressed) {
        canvas.pen().setColor(look.top);
        line(canvas, 1, h - 2, 1, 1);
        canvas.pen().setColor(look.bottom);
        line(canvas, w - 2, h - 2, w - 2, 1);
    }
    DrawButtonFrame(canvas, w, h, look.topLeft, look.bottomRight);

    const int ca = s.button / 2, cc = s.thickness / 2;
    if (!thumb) {
        const int k = s.button / 8;
        const bool last = button == ScrollZone::lastArrow;
        const int base = last ? ca - k : ca + k, tip = last ? ca + k : ca - k;
        const std::array<TPoint, 3> arrow{s.point(base, cc - 2 * k), s.point(base, cc + 2 * k), s.point(tip, cc)};
        canvas.brush().setStyle(TBrushStyle::bsSolid);
        canvas.brush().setColor(clWindowText);
        canvas.polygon(arrow);
    } else if (hasFocus_) {
        for (const int along : {ca - 2, ca, ca + 2}) {
            canvas.pen().setColor(p.darkShadow);
            const TPoint from = s.point(along, cc / 2), to = s.point(along, 3 * cc / 2);
            line(canvas, from.x, from.y, to.x, to.y);
            canvas.pen().setColor(p.highlight);
            const TPoint nextFrom = s.point(along + 1, cc / 2), nextTo = s.point(along + 1, 3 * cc / 2);
            line(canvas, nextFrom.x, nextFrom.y, nextTo.x, nextTo.y);
        }
    }
}

void TWScrollBar::paintOnce(TCanvas& canvas)
{
    // Sizes set through the control's base know no rule; the bar keeps its minimums here too.
    keepMinimumSize();
    const Shape s = shape();
    // The images hold what the canvas shows and live for this paint only, so that a bar of any
    // size, anywhere, costs what shows of it.
    PaintBuffer back;
    back.holdShown(canvas, {0, 0, std::max(limitedExtent(width()), 1), std::max(limitedExtent(height()), 1)});
    if (!back.held()) return;
    const TRect shown = back.part();
    PaintBufferCanvas buffer(back);
    const bool beforeIsShadow = zone_ == ScrollZone::trackBeforeThumb;
    const bool afterIsShadow = zone_ == ScrollZone::trackAfterThumb;
    buffer.brush().setColor(beforeIsShadow ? colouring_.palette().shadow : colouring_.palette().highlight);
    buffer.fillRect(s.span(0, s.thumb));
    buffer.brush().setColor(afterIsShadow ? colouring_.palette().shadow : colouring_.palette().highlight);
    buffer.fillRect(s.span(s.thumb, s.length));

    const TPoint size = s.horizontal ? TPoint{s.button, s.thickness} : TPoint{s.thickness, s.button};
    for (const auto& [button, offset] : {std::pair{ScrollZone::firstArrow, 0},
                                         std::pair{ScrollZone::lastArrow, s.length - s.button},
                                         std::pair{ScrollZone::thumb, s.thumb}}) {
        const TPoint at = s.point(offset, 0);
        const TRect place{std::max(at.x, shown.left), std::max(at.y, shown.top),
                          std::min(at.x + size.x, shown.right), std::min(at.y + size.y, shown.bottom)};
        if (place.isEmpty()) continue;
        PaintBuffer image;
        image.hold(canvas, {place.left - at.x, place.top - at.y, place.right - at.x, place.bottom - at.y});
        BallPoolPaint(image, button, s);
        buffer.painter().drawImage(place.left, place.top, image.image());
    }
    canvas.painter().drawImage(shown.left, shown.top, back.image());
}

void TWScrollBar::paint(TCanvas& canvas)
{
    if (parent() == nullptr) return;
    if (painting_) {
        paintAgain_ = true;
        return;
    }
    painting_ = true;
    paintAgain_ = false;
    paintOnce(canvas);
    if (paintAgain_) {
        paintAgain_ = false;
        paintOnce(canvas);
    }
    painting_ = false;
}

}  // namespace trovelin
