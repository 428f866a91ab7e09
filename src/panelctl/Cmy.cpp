#include "panelctl/Cmy.h"

#include <algorithm>
#include <optional>

#include "framework/Canvas.h"
#include "framework/ControlProperties.h"
#include "framework/PaintBuffer.h"
#include "framework/SystemColors.h"

namespace trovelin {

namespace {

constexpr int defaultWidth = 168;
constexpr int defaultHeight = 144;
constexpr int markerSide = 5;

std::uint8_t byteOf(std::uint32_t color, int shift) { return static_cast<std::uint8_t>((color >> shift) & 0xFF); }

}  // namespace

TCMY::TCMY(Component* owner) : TGraphicControl(owner)
{
    setWidth(defaultWidth);
    setHeight(defaultHeight);
    lastWidth_ = defaultWidth;
    lastHeight_ = defaultHeight;
    layout_ = cmyLayout(defaultHeight);
    marker_ = {layout_.D - markerSide, layout_.D - markerSide};
}

const ClassInfo& TCMY::staticClassInfo()
{
    using C = TCMY;
    static const ClassInfo info{
        "TCMY",
        &TControl::staticClassInfo(),
        {
            published::character("Cyan", &C::cyan, &C::SetCyan, '\0'),
            published::character("Magenta", &C::magenta, &C::SetMagenta, '\0'),
            published::character("Yellow", &C::yellow, &C::SetYellow, '\0'),
            published::boolean("RGBset", &C::rgbSet, &C::SetRGB, false),
            published::event("OnChange", &C::onChange),
            // Stored unless false, unlike the shared entry, which follows ParentShowHint.
            published::boolean("ShowHint", &TControl::showHint, &TControl::setShowHint, false),
            controlProperties::visible(),
        },
        &createComponent<TCMY>};
    return info;
}

void TCMY::SetCyan(std::uint8_t value)
{
    if (value == cyan_) return;
    cyan_ = value;
    SetPosition();
}

void TCMY::SetMagenta(std::uint8_t value)
{
    if (value == magenta_) return;
    magenta_ = value;
    SetPosition();
}

void TCMY::SetYellow(std::uint8_t value)
{
    if (value == yellow_) return;
    yellow_ = value;
    SetPosition();
}

void TCMY::SetRGB(bool value)
{
    if (value == rgb_) return;
    rgb_ = value;
    SetPosition();
}

std::uint32_t TCMY::mixedColor() const
{
    const auto screen = [this](std::uint8_t byte) { return rgb_ ? byte : 255 - byte; };
    return cmyRgb(screen(cyan_), screen(magenta_), screen(yellow_));
}

void TCMY::SetColor(TColor value)
{
    // The colour is derived from the bytes rather than kept beside them: a drag, the reset
    // button or SetRGB change what the bytes show, and a stored copy would then refuse to set
    // the colour it still held.
    const std::uint32_t rgb = colorToRgb(value);
    if (rgb == mixedColor()) return;
    const auto ink = [this](std::uint8_t channel) { return static_cast<std::uint8_t>(rgb_ ? channel : 255 - channel); };
    setBytes(ink(byteOf(rgb, 0)), ink(byteOf(rgb, 8)), ink(byteOf(rgb, 16)));
    SetPosition();
}

void TCMY::SetPosition()
{
    bool drawn = false;
    drawOnCanvas([&](TCanvas& canvas) {
        drawn = true;
        setPositionOn(&canvas);
    });
    if (!drawn) setPositionOn(nullptr);
}

void TCMY::setPositionOn(TCanvas* canvas)
{
    position_ = cmyPosition(cyan_, magenta_, yellow_, rgb_, layout_.maxSaturation());
    if (canvas == nullptr) {
        marker_ = markerTopLeft();
        return;
    }
    drawBar(*canvas);
    PPointPaint(*canvas);
    BPointPaint(*canvas);
    SamplePaint(*canvas);
}

void TCMY::MouseSetBall(int x, int y)
{
    position_ = cmyBallAt(x, y, layout_, position_.intensity);
    bool drawn = false;
    drawOnCanvas([&](TCanvas& canvas) {
        drawn = true;
        BPointPaint(canvas);
        SamplePaint(canvas);
        drawBar(canvas);
        PPointPaint(canvas);
    });
    if (!drawn) marker_ = markerTopLeft();
    readBack();
}

void TCMY::MouseSetIntensity(int y)
{
    // A bar of four pixels or less has no travel to divide: the press is ignored.
    const std::optional<int> intensity = cmyIntensityAt(y, layout_);
    if (!intensity) return;
    position_.intensity = *intensity;
    drawOnCanvas([&](TCanvas& canvas) {
        drawBar(canvas);
        PPointPaint(canvas);
        SamplePaint(canvas);
    });
    readBack();
}

void TCMY::readBack()
{
    const std::uint32_t sample = sampleColor();
    const auto byte = [this, sample](int shift) {
        const std::uint8_t channel = byteOf(sample, shift);
        return rgb_ ? channel : static_cast<std::uint8_t>(255 - channel);
    };
    setBytes(byte(0), byte(8), byte(16));
}

void TCMY::setBytes(std::uint8_t cyan, std::uint8_t magenta, std::uint8_t yellow)
{
    cyan_ = cyan;
    magenta_ = magenta;
    yellow_ = yellow;
}

void TCMY::BallPaint(TCanvas& canvas)
{
    // The part of the disc that shows, drawn from the table of its size.
    const int m = layout_.m;
    const int d = layout_.D;
    if (d <= 0) return;
    PaintBuffer disc;
    disc.holdShown(canvas, {m, m, m + d, m + d});
    if (!disc.held()) return;
    // A canvas of no surface's tree (a test that paints one control) builds a table for itself.
    CmyDisc own;
    CmyDisc& table = canvas.budget() != nullptr ? canvas.budget()->table<CmyDisc>() : own;
    table.resize(d);
    table.paint(disc.image(), disc.part().left - m, disc.part().top - m);
    canvas.copyRect(disc.part(), PaintBufferCanvas(disc), disc.part());
}

void TCMY::drawBar(TCanvas& canvas)
{
    const int d = layout_.D;
    const int b = layout_.B;
    if (d <= 0 || b <= 0) return;
    const int left = layout_.barLeft();
    const int m = layout_.m;
    canvas.brush().setColor(clBtnFace);
    canvas.fillRect({left, m, left + b, m + d});
    // The pool: a line of each shade across the bar, two pixels in from its edges.
    const TRect visible = canvas.visibleArea();
    const std::uint32_t top = cmyPoolColor(position_, d);
    for (int i = std::max(0, visible.top - m - 2); i <= d - 5 && m + i + 2 < visible.bottom; ++i) {
        canvas.brush().setColor(static_cast<TColor>(cmyPoolLineColor(top, i, d)));
        canvas.fillRect({left + 2, m + i + 2, left + b - 2, m + i + 3});
    }
}

void TCMY::SamplePaint(TCanvas& canvas)
{
    canvas.brush().setColor(static_cast<TColor>(sampleColor()));
    canvas.fillRect(layout_.sample());
}

void TCMY::PPointPaint(TCanvas& canvas)
{
    canvas.pen().setColor(clWindow);
    const int left = layout_.barLeft();
    const int row = cmyIntensityRow(position_.intensity, layout_);
    for (const int k : {0, 1, 3, 4}) {
        canvas.moveTo(left, row + k);
        canvas.lineTo(left + layout_.B, row + k);
    }
}

TPoint TCMY::markerTopLeft() const
{
    const TPoint centre = cmyMarkerCentre(position_, layout_);
    return {centre.x - 2 - layout_.m, centre.y - 2 - layout_.m};
}

void TCMY::BPointPaint(TCanvas& canvas)
{
    // The old marker's box gives back the disc's pixels, where it lies on the disc.
    const int m = layout_.m;
    const int d = layout_.D;
    for (int y = std::max(marker_.y, 0); y < std::min(marker_.y + markerSide, d); ++y)
        for (int x = std::max(marker_.x, 0); x < std::min(marker_.x + markerSide, d); ++x)
            canvas.setPixel(m + x, m + y, static_cast<TColor>(cmyDiscPixel(x, y, d)));
    const TPoint c = cmyMarkerCentre(position_, layout_);
    canvas.pen().setColor(clWindowText);
    canvas.moveTo(c.x - 2, c.y - 2);
    canvas.lineTo(c.x + 2, c.y - 2);
    canvas.lineTo(c.x + 2, c.y + 2);
    canvas.lineTo(c.x - 2, c.y + 2);
    canvas.lineTo(c.x - 2, c.y - 2);
    marker_ = markerTopLeft();
}

void TCMY::RButtonPaint(TCanvas& canvas)
{
    const TRect button = layout_.resetButton();
    canvas.brush().setColor(clWindowText);
    canvas.fillRect(button);
    canvas.pen().setColor(clWindowText);
    canvas.brush().setColor(clWindow);
    canvas.ellipse(button.left + 3, button.top + 3, button.right - 2, button.bottom - 2);
    canvas.pen().setColor(resetPressed_ ? clBtnShadow : clBtnHighlight);
    canvas.moveTo(button.left, button.bottom);
    canvas.lineTo(button.left, button.top);
    canvas.lineTo(button.right, button.top);
    canvas.pen().setColor(resetPressed_ ? clBtnHighlight : clBtnShadow);
    canvas.lineTo(button.right, button.bottom);
    canvas.lineTo(button.left, button.bottom);
}

void TCMY::paint(TCanvas& canvas)
{
    if (parent() == nullptr) return;
    // A record may give a negative size, which leaves nothing to fill or frame.
    const int w = std::max(width(), 0);
    const int h = std::max(height(), 0);
    canvas.brush().setColor(clBtnFace);
    canvas.fillRect({0, 0, w, h});
    canvas.pen().setColor(clBtnShadow);
    canvas.moveTo(0, h - 1);
    canvas.lineTo(0, 0);
    canvas.lineTo(w - 1, 0);
    canvas.pen().setColor(clBtnHighlight);
    canvas.lineTo(w - 1, h - 1);
    canvas.lineTo(0, h - 1);

    if (width() != lastWidth_ || height() != lastHeight_) {
        lastWidth_ = width();
        lastHeight_ = height();
        layout_ = cmyLayout(height());
        marker_ = {layout_.D - markerSide, layout_.D - markerSide};
    }
    BallPaint(canvas);
    setPositionOn(&canvas);
    RButtonPaint(canvas);
}

void TCMY::mouseDown(TMouseButton button, TShiftState, int x, int y)
{
    if (button != TMouseButton::mbLeft) return;
    const CmyLayout& l = layout_;
    const int barRight = l.barLeft() + l.B;
    if (x < l.m || x > barRight || y < l.m || y > l.m + l.D) return;
    if (x <= l.m + l.B && y >= l.height - l.B) {
        resetPressed_ = true;
        drawOnCanvas([this](TCanvas& canvas) { RButtonPaint(canvas); });
        return;
    }
    const std::uint32_t before = mixedColor();
    const bool inRows = y < l.m + l.D;
    if (x < l.m + l.D && inRows) {
        draggingDisc_ = true;
        MouseSetBall(x, y);
    } else if (x >= l.barLeft() && x < barRight && inRows) {
        draggingBar_ = true;
        MouseSetIntensity(y);
    }
    if (mixedColor() != before) change();
}

void TCMY::mouseMove(TShiftState, int x, int y)
{
    if (!draggingDisc_ && !draggingBar_) return;
    const std::uint32_t before = mixedColor();
    if (draggingDisc_)
        MouseSetBall(x, y);
    else
        MouseSetIntensity(y);
    if (mixedColor() != before) change();
}

void TCMY::mouseUp(TMouseButton button, TShiftState, int x, int y)
{
    if (button != TMouseButton::mbLeft) return;
    if (resetPressed_) {
        const std::uint8_t white = rgb_ ? 255 : 0;
        setBytes(white, white, white);
        SetPosition();
        resetPressed_ = false;
        drawOnCanvas([this](TCanvas& canvas) { RButtonPaint(canvas); });
        change();
    }
    if (draggingDisc_) {
        MouseSetBall(x, y);
        draggingDisc_ = false;
    } else if (draggingBar_) {
        MouseSetIntensity(y);
        draggingBar_ = false;
    }
}

void TCMY::change()
{
    if (onChangeHandler) onChangeHandler(*this);
}

}  // namespace trovelin
