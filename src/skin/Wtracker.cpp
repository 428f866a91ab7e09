#include "skin/Wtracker.h"

#include <algorithm>
#include <array>
#include <string>

#include "framework/Canvas.h"
#include "framework/ControlProperties.h"
#include "framework/ControlServices.h"
#include "framework/SystemColors.h"
#include "framework/Timer.h"
#include "framework/WinControl.h"
#include "panelctl/Fader.h"
#include "skin/SkinPalette.h"
#include "skin/Wconst.h"

namespace trovelin {
namespace {

constexpr int firstRepeatDelay = 500;
constexpr int repeatInterval = 100;
constexpr int hintMaxWidth = 100;

// The extent the track and knob are drawn at: no screen shows more.
constexpr int drawnLimit = 4096;
int drawnExtent(int extent) { return std::min(extent, drawnLimit); }

// The part of a drawing of `drawn` that can show: the drawing's top left corner lies at the
// control's left edge and `top`, and nothing right of or below `visible` ever shows.
QSize shownExtent(TPoint drawn, int top, const TRect& visible)
{
    const int width = std::max(0, std::min(drawn.x, visible.right));
    const auto height = std::clamp<std::int64_t>(std::int64_t{visible.bottom} - top, 0, drawn.y);
    return {width, static_cast<int>(height)};
}

// The rectangle of `extent` with its top left at `top` rows down.
TRect extentAt(QSize extent, int top)
{
    if (extent.isEmpty()) return {};
    return {0, top, extent.width(), top + extent.height()};
}

void line(TCanvas& canvas, int x1, int y1, int x2, int y2)
{
    canvas.moveTo(x1, y1);
    canvas.lineTo(x2, y2);
}

int scaled(int extent, int numerator, int denominator)
{
    return static_cast<int>(std::int64_t{extent} * numerator / denominator);
}

// Read-only: a record that sets it fails as for any read-only property.
PropertyInfo hasMouseProperty()
{
    PropertyInfo info;
    info.name = "HasMouse";
    info.kind = PropertyKind::Enumeration;
    info.elements = &booleanType();
    info.get = [](Persistent& o) -> PropertyValue { return std::int64_t{static_cast<TWTracker&>(o).hasMouse()}; };
    return info;
}

}  // namespace

TWTracker::TWTracker(Component* owner) : TGraphicControl(owner), hintWindow_(*this)
{
    hintWindow_.font().setName("SmallFonts");
    hintWindow_.font().setSize(7);
    hintWindow_.setColor(clWindow);
    setWidth(39);
    setHeight(192);
}

TWTracker::~TWTracker() = default;

const ClassInfo& TWTracker::staticClassInfo()
{
    using C = TWTracker;
    namespace shared = controlProperties;
    static const ClassInfo info{
        "TWTracker",
        &TControl::staticClassInfo(),
        {
            shared::enabled(),
            published::integer("Min", &C::min, &C::setMin, 0),
            published::integer("Max", &C::max, &C::setMax, 255),
            published::integer("Position", &C::position, &C::setPosition, 0),
            // Stored as 0 by default while the constructor gives clBtnFace.
            published::integer("Color", &C::color, &C::setColor, 0, &colorConstants()),
            published::event("OnChange", &C::onChange),
            published::integer("FirstColor", &C::firstColor, &C::setFirstColor, clBtnHighlight, &colorConstants()),
            published::integer("SecondColor", &C::secondColor, &C::setSecondColor, clBtnShadow, &colorConstants()),
            shared::parentColor(),
            shared::popupMenu(),
            shared::showHint(),
            shared::visible(),
            hasMouseProperty(),
        },
        &createComponent<TWTracker>};
    return info;
}

bool TWTracker::takesInput() const { return trackerTakesInput(width(), height()); }

int TWTracker::knobOffset() const { return layout().knobOffset(position_, range_.min, range_.max); }

// The range limits the stored position even while the tracker is too short to take input, so
// that the knob is on the track once the tracker is made tall enough.
void TWTracker::setMin(std::int32_t value)
{
    if (!range_.setMin(value)) return;
    position_ = std::clamp(position_, range_.min, range_.max);
    repaint();
}

void TWTracker::setMax(std::int32_t value)
{
    if (!range_.setMax(value)) return;
    position_ = std::clamp(position_, range_.min, range_.max);
    repaint();
}

void TWTracker::setPosition(std::int32_t value)
{
    if (!takesInput() || value == position_) return;
    const int b = layout().button;
    position_ = std::clamp(value, range_.min, range_.max);
    // Images taken back by the paint buffers' budget are drawn again by a paint.
    if (track_.takenBack() || knob_.takenBack()) {
        repaint();
        return;
    }
    drawOnCanvas([&](TCanvas& canvas) {
        // Before the first paint there are no images to draw.
        if (!track_.held() || !knob_.held()) return;
        canvas.painter().drawImage(0, b, track_.image());
        canvas.painter().drawImage(0, knobOffset(), knob_.image());
    });
}

void TWTracker::setColor(TColor value)
{
    if (value == color_ || !takesInput()) return;
    color_ = value;
    if (knob_.takenBack()) {
        repaint();
        return;
    }
    if (!knob_.held()) return;
    {
        TCanvas canvas(knob_.image());
        const TPoint drawn = knobExtent(layout());
        const int kw = drawn.x, kh = drawn.y;
        const int r = std::min(kh, kw) / 4;
        canvas.brush().setColor(color_);
        canvas.pen().setColor(SkinPalette::fixed().highlight);
        canvas.pen().setWidth(1);
        canvas.ellipse(kw / 2 - r, kh / 2 - r, kw / 2 + r, kh / 2 + r);
    }
    const int offset = layout().colourKnobOffset(position_, range_.min, range_.max);
    drawOnCanvas([&](TCanvas& canvas) { canvas.painter().drawImage(0, offset, knob_.image()); });
}

void TWTracker::setFirstColor(TColor value)
{
    if (value == firstColor_) return;
    firstColor_ = value;
    Review();
}

void TWTracker::setSecondColor(TColor value)
{
    if (value == secondColor_) return;
    secondColor_ = value;
    Review();
}

void TWTracker::Review()
{
    lastBounds_ = {0, 0, 0, 0};
    repaint();
}

TPoint TWTracker::trackExtent(const TrackerLayout& shape)
{
    return {drawnExtent(shape.width), drawnExtent(shape.track)};
}

TPoint TWTracker::knobExtent(const TrackerLayout& shape)
{
    return {drawnExtent(shape.width), drawnExtent(shape.track / 8)};
}

void TWTracker::buildTrack(const TCanvas& on, const TrackerLayout& shape, const TRect& visible)
{
    ++trackBuilds_;
    track_.hold(on, extentAt(shownExtent(trackExtent(shape), shape.button, visible), shape.button));
    if (!track_.held()) return;
    const int w = drawnExtent(shape.width), t = shape.track;
    const SkinPalette greys = SkinPalette::fixed();
    TCanvas canvas(track_.image());

    // First colour at both ends, the second in the middle: step i colours rows i and t - i - 1
    // for i below (t + 2) / 2, the later step winning. Each row of the (capped) image is drawn
    // once, in the colour of the last step that reaches it.
    const std::uint32_t c1 = colorToRgb(firstColor_), c2 = colorToRgb(secondColor_);
    const std::int64_t half = t / 2, steps = (std::int64_t{t} + 2) / 2;
    for (int row = 0; row < std::min(t, track_.peek().height()); ++row) {
        const std::int64_t mirrored = std::int64_t{t} - row - 1;
        const std::int64_t i = std::max<std::int64_t>(row < steps ? row : -1, mirrored < steps ? mirrored : -1);
        std::uint32_t mixed = 0;
        for (int shift : {0, 8, 16}) {
            const std::int64_t a = (c1 >> shift) & 0xFF, z = (c2 >> shift) & 0xFF;
            const std::int64_t channel = half > 0 ? a + (i * (z - a)) / half : a;
            mixed |= static_cast<std::uint32_t>(std::clamp<std::int64_t>(channel, 0, 255)) << shift;
        }
        canvas.pen().setColor(static_cast<TColor>(mixed));
        line(canvas, 0, row, w, row);
    }
    canvas.pen().setColor(greys.shadow);
    line(canvas, 0, 0, 0, t);
    line(canvas, w - 1, 0, w - 1, t);

    const int y0 = t / 16;
    const float s = static_cast<float>(t) * 14 / 128;
    const std::array<int, 4> major{w / 16, w / 4, scaled(w, 3, 4), scaled(w, 15, 16)};
    const std::array<int, 4> minor{w / 8, scaled(w, 3, 8), scaled(w, 5, 8), scaled(w, 7, 8)};
    auto tick = [&](const std::array<int, 4>& columns, float at) {
        canvas.pen().setColor(greys.darkShadow);
        const int shadowRow = static_cast<int>(at - 1);
        line(canvas, columns[0], shadowRow, columns[1], shadowRow);
        line(canvas, columns[2], shadowRow, columns[3], shadowRow);
        // Truncated on its own: on a short track the two rows may coincide or lie two apart.
        const int lightRow = static_cast<int>(at);
        canvas.pen().setColor(greys.highlight);
        line(canvas, columns[0], lightRow, columns[1], lightRow);
        line(canvas, columns[2], lightRow, columns[3], lightRow);
    };
    for (int i = 0; i <= 8; ++i) tick(major, static_cast<float>(y0) + static_cast<float>(i) * s);
    for (int i = 0; i <= 7; ++i) tick(minor, static_cast<float>(y0) + static_cast<float>(i) * s + s / 2);

    const int left = w / 2 - w / 16, right = w / 2 + w / 16;
    const int top = t / 16, bottom = scaled(t, 15, 16);
    canvas.pen().setColor(greys.darkShadow);
    canvas.brush().setColor(clWindowText);
    canvas.rectangle(left, top, right, bottom);
    canvas.pen().setColor(greys.highlight);
    canvas.moveTo(left, bottom);
    canvas.lineTo(right, bottom);
    canvas.lineTo(right, top);
}

void TWTracker::BallPoolPaint()
{
    if (!knob_.held()) return;
    const TPoint drawn = knobExtent(layout());
    const int kw = drawn.x, kh = drawn.y;
    const SkinPalette greys = SkinPalette::fixed();
    const TColor light = LightenColor32(greys.highlight), dark = DarkenColor32(greys.shadow);
    TCanvas canvas(knob_.image());
    // The gradient helper takes clBtnFace's value as it stands, not as the system colour.
    DrawGradient(canvas, {0, 0, kw, kh / 4}, light, dark);
    DrawGradient(canvas, {0, kh / 4, kw, kh / 2}, dark, clBtnFace);
    DrawGradient(canvas, {0, kh / 2, kw, scaled(kh, 3, 4)}, clBtnFace, light);
    DrawGradient(canvas, {0, scaled(kh, 3, 4), kw, kh}, light, dark);

    canvas.pen().setColor(greys.shadow);
    canvas.moveTo(0, kh - 1);
    canvas.lineTo(0, 0);
    canvas.lineTo(kw - 1, 0);
    canvas.pen().setColor(greys.darkShadow);
    canvas.lineTo(kw - 1, kh - 1);
    canvas.lineTo(0, kh - 1);

    canvas.pen().setColor(enabled() ? greys.darkShadow : greys.highlight);
    line(canvas, kw / 8, kh / 2 - 1, scaled(kw, 7, 8), kh / 2 - 1);
    canvas.pen().setColor(greys.highlight);
    line(canvas, kw / 8, kh / 2, scaled(kw, 7, 8), kh / 2);

    const int r = std::min(kh, kw) / 4;
    canvas.brush().setColor(color_);
    canvas.pen().setColor(enabled() ? greys.darkShadow : greys.highlight);
    canvas.pen().setWidth(1);
    canvas.ellipse(kw / 2 - r, kh / 2 - r, kw / 2 + r, kh / 2 + r);
}

void TWTracker::UpButtonPaint(TCanvas& canvas)
{
    const TrackerLayout shape = layout();
    const int w = shape.width, b = shape.button, p = upPressed_ ? 1 : 0;
    const SkinPalette greys = SkinPalette::fixed();
    DrawShadeV(canvas, {0, 0, w, b}, clBtnFace);
    canvas.pen().setColor(greys.darkShadow);
    const std::array<TPoint, 5> frame{TPoint{0, b - 1}, {0, 0}, {w - 1, 0}, {w - 1, b - 1}, {0, b - 1}};
    canvas.polyline(frame);
    canvas.pen().setColor(upPressed_ ? greys.highlight : greys.darkShadow);
    canvas.brush().setColor(enabled() ? clWindowText : greys.shadow);
    const std::array<TPoint, 3> arrow{TPoint{w / 2, 1 + p}, {w / 2 - (b - 4), b - 3 + p}, {w / 2 + (b - 4), b - 3 + p}};
    canvas.polygon(arrow);
}

void TWTracker::DownButtonPaint(TCanvas& canvas)
{
    const TrackerLayout shape = layout();
    // Beyond the skin's extent limit nothing can show the bottom; the button stays within it so
    // that no coordinate nears the integer limit.
    const int w = shape.width, b = shape.button, h = limitedExtent(height()), p = downPressed_ ? 1 : 0;
    const SkinPalette greys = SkinPalette::fixed();
    DrawShadeV(canvas, {0, h - b, w, h}, clBtnFace);
    canvas.pen().setColor(greys.darkShadow);
    const std::array<TPoint, 5> frame{TPoint{0, h - 1}, {0, h - b}, {w - 1, h - b}, {w - 1, h - 1}, {0, h - 1}};
    canvas.polyline(frame);
    canvas.pen().setColor(downPressed_ ? greys.highlight : greys.darkShadow);
    canvas.brush().setColor(enabled() ? clWindowText : greys.shadow);
    const std::array<TPoint, 3> arrow{TPoint{w / 2 - (b - 4), h - b + 2 + p}, {w / 2 + (b - 4), h - b + 2 + p},
                                      {w / 2, h - 2 + p}};
    canvas.polygon(arrow);
}

void TWTracker::paint(TCanvas& canvas)
{
    if (parent() == nullptr || !trackerPaints(width(), height())) return;
    const TrackerLayout shape = layout();
    const TRect bounds{left(), top(), width(), height()};
    // The images hold what the canvas can show of them, so a tracker larger than any screen
    // costs what it shows; a canvas that shows more than they hold has them built again.
    const TRect visible = canvas.visibleArea();
    const QSize trackShown = shownExtent(trackExtent(shape), shape.button, visible);
    // Rows of the knob below the canvas cannot show wherever the knob moves, as it never moves
    // above the track.
    const QSize knobShown = shownExtent(knobExtent(shape), shape.button, visible);
    const auto holds = [](const PaintBuffer& buffer, QSize extent) {
        return buffer.peek().width() >= extent.width() && buffer.peek().height() >= extent.height();
    };
    if (bounds != lastBounds_ || !holds(track_, trackShown) || !holds(knob_, knobShown)) {
        lastBounds_ = bounds;
        buildTrack(canvas, shape, visible);
        knob_.hold(canvas, extentAt(knobShown, 0));
    }
    BallPoolPaint();
    if (track_.held()) canvas.painter().drawImage(0, shape.button, track_.image());
    if (knob_.held()) canvas.painter().drawImage(0, knobOffset(), knob_.image());
    UpButtonPaint(canvas);
    DownButtonPaint(canvas);
}

void TWTracker::change()
{
    if (onChangeHandler) onChangeHandler(*this);
}

void TWTracker::step(bool up)
{
    (up ? upPressed_ : downPressed_) = true;
    drawOnCanvas([&](TCanvas& canvas) { up ? UpButtonPaint(canvas) : DownButtonPaint(canvas); });
    const std::int32_t limit = up ? range_.max : range_.min;
    if (position_ == limit) return;
    setPosition(up ? position_ + 1 : position_ - 1);
    change();
    if (position_ == limit || repeatTimer_ || services() == nullptr) return;
    repeatTimer_ = std::make_unique<TTimer>(services()->timers());
    repeatTimer_->setInterval(firstRepeatDelay);
    repeatTimer_->onTimer = [this] { onTimer(); };
    repeatTimer_->setEnabled(true);
}

void TWTracker::mouseDown(TMouseButton button, TShiftState, int, int y)
{
    if (button != TMouseButton::mbLeft || !takesInput()) return;
    const TrackerLayout shape = layout();
    if (y < shape.button) {
        step(true);
    } else if (std::int64_t{y} < std::int64_t{height()} - shape.button) {
        dragging_ = true;
        if (!shape.mapsValues()) return;
        const std::int64_t value = shape.valueAt(y - shape.button, range_.min, range_.max);
        if (value == position_) return;
        setPosition(static_cast<std::int32_t>(std::clamp<std::int64_t>(value, range_.min, range_.max)));
        change();
    } else {
        step(false);
    }
}

void TWTracker::mouseMove(TShiftState, int, int y)
{
    if (!takesInput()) return;
    const TrackerLayout shape = layout();
    const std::int64_t row = std::int64_t{y} - shape.button;
    if (dragging_) {
        if (!shape.mapsValues()) return;
        const int limited = static_cast<int>(std::clamp<std::int64_t>(row, 0, shape.track));
        const auto value =
            static_cast<std::int32_t>(std::clamp<std::int64_t>(shape.valueAt(limited, range_.min, range_.max), range_.min, range_.max));
        if (value == position_) return;
        setPosition(value);
        setHint(position_);
        change();
        return;
    }
    if (row >= 0 && row <= shape.track) {
        if (shape.mapsValues())
            setHint(static_cast<int>(
                std::clamp<std::int64_t>(shape.valueAt(static_cast<int>(row), range_.min, range_.max), range_.min, range_.max)));
    } else if (hasMouse_) {
        hintWindow_.releaseHandle();
    }
}

void TWTracker::mouseUp(TMouseButton button, TShiftState, int, int)
{
    if (button != TMouseButton::mbLeft || !takesInput()) return;
    if (dragging_) {
        dragging_ = false;
        return;
    }
    if (!upPressed_ && !downPressed_) return;
    repeatTimer_.reset();
    const bool up = upPressed_;
    upPressed_ = downPressed_ = false;
    drawOnCanvas([&](TCanvas& canvas) { up ? UpButtonPaint(canvas) : DownButtonPaint(canvas); });
}

void TWTracker::enabledChanged()
{
    repeatTimer_.reset();
    upPressed_ = downPressed_ = dragging_ = false;
}

void TWTracker::onTimer()
{
    repeatTimer_->setInterval(repeatInterval);
    if (upPressed_)
        mouseDown(TMouseButton::mbLeft, 0, 0, 0);
    else if (downPressed_)
        mouseDown(TMouseButton::mbLeft, 0, 0, height() - layout().button);
}

void TWTracker::setHint(int value)
{
    if (!hasMouse_) return;
    const ControlServices* desktop = services();
    if (desktop == nullptr) return;
    const std::string text = std::to_string(value);
    const TRect needed = hintWindow_.calcHintRect(hintMaxWidth, text);
    const TPoint p = desktop->cursorPos();
    hintWindow_.activateHint({p.x, p.y + 16, p.x + needed.right, p.y + needed.bottom + 14}, text);
}

void TWTracker::mouseEnter() { hasMouse_ = true; }

void TWTracker::mouseLeave()
{
    if (hasMouse_) hintWindow_.releaseHandle();
    hasMouse_ = false;
}

}  // namespace trovelin
