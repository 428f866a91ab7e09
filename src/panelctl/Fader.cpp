#include "panelctl/Fader.h"

#include <algorithm>
#include <limits>
#include <string>

#include "framework/Canvas.h"
#include "framework/ControlProperties.h"
#include "framework/ControlServices.h"
#include "framework/Timer.h"
#include "framework/WinControl.h"

namespace trovelin {

namespace {

constexpr int firstRepeatDelay = 500;
constexpr int repeatInterval = 100;
constexpr int hintMaxWidth = 100;

// Whether a bitmap of `shown` lacks part of `whole`.
bool lacksPart(const TRect& shown, const TRect& whole) { return !whole.isEmpty() && shown != whole; }

TRect spanning(const TRect& a, const TRect& b)
{
    if (a.isEmpty()) return b;
    if (b.isEmpty()) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

TRect shifted(const TRect& rect, TPoint by)
{
    if (rect.isEmpty()) return {};
    return {rect.left + by.x, rect.top + by.y, rect.right + by.x, rect.bottom + by.y};
}

std::int32_t toInt32(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

TFader::TFader(Component* owner, FaderAxis axis)
    : TGraphicControl(owner), axis_(axis), hintWindow_(*this), color_(clBtnFace)
{
    hintWindow_.font().setName("SmallFonts");
    hintWindow_.font().setSize(7);
    const bool vertical = axis == FaderAxis::Vertical;
    setWidth(vertical ? 40 : 152);
    setHeight(vertical ? 152 : 40);
    setShowHint(true);
}

TFader::~TFader() = default;

std::vector<PropertyInfo> TFader::publishedProperties()
{
    using C = TFader;
    namespace shared = controlProperties;
    return {
        shared::enabled(),
        published::integer("Min", &C::min, &C::setMin, 0),
        published::integer("Max", &C::max, &C::setMax, 255),
        published::integer("Add", &C::add, &C::setAdd, 0),
        published::integer("Position", &C::position, &C::setPosition, 0),
        published::integer("FinePosition", &C::finePosition, &C::setFinePosition, 0),
        // Stored as 0 by default while the constructor gives clBtnFace, so a record without a
        // colour leaves clBtnFace.
        published::integer("Color", &C::color, &C::setColor, 0, &colorConstants()),
        published::event("OnChange", &C::onChange),
        published::boolean("Inverted", &C::inverted, &C::setInverted, false),
        published::boolean("M16bit", &C::m16bit, &C::set16bit, false),
        shared::parentColor(),
        shared::parentFont(),
        shared::parentShowHint(),
        shared::popupMenu(),
        shared::showHint(),
        shared::visible(),
    };
}

void TFader::setMin(std::int32_t value)
{
    if (!range_.setMin(value)) return;
    if (position_ < range_.min) setPosition(range_.min);
    repaint();
}

void TFader::setMax(std::int32_t value)
{
    if (!range_.setMax(value)) return;
    if (position_ > range_.max) setPosition(range_.max);
    repaint();
}

void TFader::setPosition(std::int32_t value)
{
    if (value == position_) return;
    const int from = knobOffset();
    position_ = std::clamp(value, range_.min, range_.max);
    const FaderLayout shape = layout();
    if (!m16bit_ && redrawsBackgroundForKnob())
        moveKnob(0, shape.cross, from, knobOffset(), true);
    else
        moveKnob(0, shape.coarseCross(), from, knobOffset(), false);
}

void TFader::setFinePosition(std::int32_t value)
{
    if (!m16bit_ || value == finePosition_) return;
    const int from = fineKnobOffset();
    finePosition_ = std::clamp(value, 0, fineMaximum);
    const FaderLayout shape = layout();
    moveKnob(shape.coarseCross(), shape.cross, from, fineKnobOffset(), false);
}

void TFader::setColor(TColor value)
{
    if (value == color_) return;
    color_ = value;
    repaint();
}

void TFader::setInverted(bool value)
{
    if (value == inverted_) return;
    inverted_ = value;
    repaint();
}

void TFader::set16bit(bool value)
{
    if (value == m16bit_) return;
    m16bit_ = value;
    repaint();
}

void TFader::setHint(int value)
{
    if (!mouseInside_) return;
    const ControlServices* desktop = services();
    if (desktop == nullptr) return;
    const std::string text = std::to_string(std::int64_t{value} + add_);
    const TRect needed = hintWindow_.calcHintRect(hintMaxWidth, text);
    const TPoint p = desktop->cursorPos();
    // The bottom sits two pixels above top + height, as the designer's faders place it.
    hintWindow_.activateHint({p.x, p.y + 16, p.x + needed.right, p.y + needed.bottom + 14}, text);
}

FaderLayout TFader::layout() const
{
    const bool vertical = axis_ == FaderAxis::Vertical;
    return {axis_, vertical ? height() : width(), vertical ? width() : height(), m16bit_};
}

bool TFader::descending() const { return valueDescends(axis_, inverted_); }

int TFader::knobOffset() const { return coarseKnobOffset(layout().length, range_.min, range_.max, position_, descending()); }

int TFader::fineKnobOffset() const { return trovelin::fineKnobOffset(layout().length, finePosition_, descending()); }

void TFader::moveKnob(int crossFrom, int crossTo, int offset, int newOffset, bool wholeBackground)
{
    const FaderLayout shape = layout();
    const int length = shape.knobLength();
    // The bitmaps were not kept, or were taken back by the paint buffers' budget: a paint then
    // shows the knob where it now is.
    if (partlyShown_ || background_.takenBack() || knob_.takenBack()) {
        repaint();
        return;
    }
    drawOnCanvas([&](TCanvas& canvas) {
        // Before the first paint there are no bitmaps to erase or draw with.
        if (background_.held()) {
            PaintBufferCanvas source(background_);
            const QImage& bitmap = background_.peek();
            const TRect erased = wholeBackground ? TRect{0, 0, bitmap.width(), bitmap.height()}
                                                 : shape.rect(crossFrom, offset, crossTo, offset + length);
            canvas.copyRect(erased, source, erased);
        }
        if (knob_.held()) {
            PaintBufferCanvas source(knob_);
            canvas.copyRect(shape.rect(crossFrom, newOffset, crossTo, newOffset + length), source,
                            shape.rect(crossFrom, 0, crossTo, length));
        }
    });
}

TColor TFader::parentBrushColor() const { return parent() != nullptr ? parent()->color() : clBtnFace; }

void TFader::paint(TCanvas& canvas)
{
    if (parent() == nullptr) return;
    const TColor parentColor = parentBrushColor();
    const TColor knobColor = color_ == clBtnFace ? parentColor : color_;
    const FaderLayout shape = layout();

    // The bitmaps hold what the canvas shows and no more: a record may make a fader larger than
    // any screen.
    const TRect whole{0, 0, shape.size().x, shape.size().y};
    const TRect shownBackground = shownPart(canvas, whole);
    if (background_.hold(canvas, shownBackground); background_.held()) {
        PaintBufferCanvas bitmapCanvas(background_);
        paintBackgroundBitmap(bitmapCanvas, shape, parentColor);
        canvas.copyRect(shownBackground, bitmapCanvas, shownBackground);
    }

    // The knob's bitmap covers what shows of the coarse knob at its place and of the fine one at
    // its own, in the knob's coordinates.
    const int length = shape.knobLength();
    const int coarse = shape.coarseCross();
    const int offset = knobOffset();
    const int fineOffset = m16bit_ ? fineKnobOffset() : 0;
    const TRect coarsePlace = shape.rect(0, offset, coarse, offset + length);
    const TRect finePlace = shape.rect(coarse, fineOffset, shape.cross, fineOffset + length);
    const TRect coarseFrom = shape.rect(0, 0, coarse, length), fineFrom = shape.rect(coarse, 0, shape.cross, length);
    const TPoint knobSize = shape.knobSize();
    auto inKnob = [&](const TRect& place, const TRect& from) {
        return shifted(shownPart(canvas, place), {from.left - place.left, from.top - place.top});
    };
    TRect shownKnob = inKnob(coarsePlace, coarseFrom);
    if (m16bit_) shownKnob = spanning(shownKnob, inKnob(finePlace, fineFrom));
    if (knob_.hold(canvas, shownKnob); knob_.held()) {
        PaintBufferCanvas source(knob_);
        paintKnobBitmap(source, shape, knobColor, parentColor);
        canvas.copyRect(coarsePlace, source, coarseFrom);
        if (m16bit_) canvas.copyRect(finePlace, source, fineFrom);
    }
    partlyShown_ = lacksPart(shownBackground, whole) || lacksPart(shownKnob, {0, 0, knobSize.x, knobSize.y});
    // A control shown in part paints again to move its knob: what it showed is not kept.
    if (partlyShown_) {
        background_.release();
        knob_.release();
    }
}

void TFader::paintBackgroundBitmap(TCanvas& canvas, const FaderLayout& layout, TColor parentColor)
{
    paintFaderBackground(canvas, layout, parentColor);
}

void TFader::paintKnobBitmap(TCanvas& canvas, const FaderLayout& layout, TColor knobColor, TColor parentColor)
{
    paintFaderKnob(canvas, layout, knobColor, parentColor);
}

void TFader::setValue(bool fine, std::int64_t value)
{
    if (fine)
        setFinePosition(toInt32(value));
    else
        setPosition(toInt32(value));
}

void TFader::mouseDown(TMouseButton button, TShiftState, int x, int y)
{
    const FaderLayout shape = layout();
    // A fader shorter than two pixels has no travel to map the pointer onto.
    if (faderTravel(shape.length) <= 0) return;
    const bool fine = m16bit_ && across(x, y) >= faderFineSplit(shape.cross);
    const std::int64_t value = fine ? fineValueAt(along(x, y), shape.length, descending())
                                    : coarseValueAt(along(x, y), shape.length, range_.min, range_.max, descending());
    const std::int64_t current = fine ? finePosition_ : position_;

    if (button == TMouseButton::mbRight) {
        // A step is a change even when the value is already at its limit.
        setValue(fine, value < current ? current - 1 : current + 1);
        change();
        if (repeatTimer_ || services() == nullptr) return;
        repeatTimer_ = std::make_unique<TTimer>(services()->timers());
        repeatTimer_->setInterval(firstRepeatDelay);
        repeatTimer_->onTimer = [this] { onTimer(); };
        repeatTimer_->setEnabled(true);
        return;
    }
    dragging_ = true;
    draggingFine_ = fine;
    dragButton_ = button;
    if (value == current) return;
    setValue(fine, value);
    change();
}

void TFader::mouseMove(TShiftState, int x, int y)
{
    const FaderLayout shape = layout();
    const bool travels = faderTravel(shape.length) > 0;
    const int at = along(x, y);
    if (dragging_) {
        if (!travels) return;
        if (draggingFine_) {
            const std::int64_t fine = std::clamp<std::int64_t>(fineValueAt(at, shape.length, descending()), 0,
                                                               fineMaximum);
            if (fine == finePosition_) return;
            setFinePosition(static_cast<std::int32_t>(fine));
        } else {
            const std::int64_t value =
                std::clamp<std::int64_t>(coarseValueAt(at, shape.length, range_.min, range_.max, descending()), range_.min, range_.max);
            if (value == position_) return;
            setPosition(static_cast<std::int32_t>(value));
            setHint(position_);
        }
        change();
        return;
    }
    if (at < 0 || at > shape.length) {
        if (mouseInside_) hintWindow_.releaseHandle();
        return;
    }
    if (!travels) return;
    // Hovering shows the coarse value a click would set, also over the fine column.
    setHint(static_cast<int>(
        std::clamp<std::int64_t>(coarseValueAt(at, shape.length, range_.min, range_.max, descending()), range_.min, range_.max)));
}

void TFader::mouseUp(TMouseButton button, TShiftState, int, int)
{
    stopRepeating();
    // A drag begun with the middle button ends with its release too, or it would follow the
    // pointer with no button held.
    if (button == TMouseButton::mbLeft || (dragging_ && button == dragButton_)) {
        dragging_ = false;
        draggingFine_ = false;
    }
}

void TFader::mouseEnter()
{
    stopRepeating();
    mouseInside_ = true;
}

void TFader::mouseLeave()
{
    stopRepeating();
    if (mouseInside_) hintWindow_.releaseHandle();
    mouseInside_ = false;
}

void TFader::onTimer()
{
    repeatTimer_->setInterval(repeatInterval);
    const ControlServices* desktop = services();
    if (desktop == nullptr) return;
    const TPoint pointer = screenToClient(desktop->cursorPos());
    mouseDown(TMouseButton::mbRight, 0, pointer.x, pointer.y);
}

void TFader::change()
{
    if (onChangeHandler) onChangeHandler(*this);
}

void TFader::stopRepeating() { repeatTimer_.reset(); }

}  // namespace trovelin
