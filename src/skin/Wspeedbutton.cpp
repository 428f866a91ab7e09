#include "skin/Wspeedbutton.h"

#include <memory>

#include "framework/Canvas.h"
#include "framework/ControlProperties.h"
#include "framework/WinControl.h"
#include "skin/Wconst.h"
#include "streaming/DibImage.h"

namespace trovelin {
namespace {

// Frame `frame` of the strip as a bitmap of its own, transparent in its bottom-left colour.
TBitmap glyphFrameBitmap(const DibImage& strip, int frame, int frameWidth, int frameHeight)
{
    auto image = std::make_shared<DibImage>(frameWidth, frameHeight, 32);
    for (int y = 0; y < frameHeight; ++y) {
        std::uint8_t* row = image->scanLine(y);
        for (int x = 0; x < frameWidth; ++x) {
            const std::uint32_t rgb = strip.pixel(frame * frameWidth + x, y);
            row[4 * x] = static_cast<std::uint8_t>(rgb >> 16);
            row[4 * x + 1] = static_cast<std::uint8_t>(rgb >> 8);
            row[4 * x + 2] = static_cast<std::uint8_t>(rgb);
            row[4 * x + 3] = 0;
        }
    }
    TBitmap bitmap;
    bitmap.setImage(std::move(image));
    bitmap.setTransparent(true);
    return bitmap;
}

struct Look {
    bool gradient;
    TColor surfaceTop, surfaceBottom;
    TColor innerLeft, innerRight;
    TColor outerTopLeft, outerBottomRight;
    int pressOffset;
};

}  // namespace

TWSpeedButton::TWSpeedButton(Component* owner) : TSpeedButton(owner) {}

const ClassInfo& TWSpeedButton::staticClassInfo()
{
    using C = TWSpeedButton;
    static const ClassInfo info{
        "TWSpeedButton",
        &TSpeedButton::staticClassInfo(),
        {
            published::boolean("ParentColor", &C::parentColor, &C::setParentColor, true),
            published::integer("Color", &C::color, &C::setColor, clBtnFace, &colorConstants()),
        },
        &createComponent<TWSpeedButton>};
    return info;
}

void TWSpeedButton::setColor(TColor value)
{
    if (colouring_.setColor(value)) invalidate();
}

void TWSpeedButton::setParentColor(bool value)
{
    colouring_.setParentColor(value);
    invalidate();
}

int TWSpeedButton::glyphFrame() const
{
    if (!enabled()) return numGlyphs() > 1 ? 1 : 0;
    if (pressedOrDown()) return numGlyphs() >= 4 ? 3 : 0;
    if (mouseInControl()) return numGlyphs() >= 4 ? 2 : 0;
    return 0;
}

void TWSpeedButton::paint(TCanvas& canvas)
{
    if (!parent()) return;
    if (colouring_.parentColor()) colouring_.takeParentColor(parent()->color());

    const int w = width(), h = height();
    const TBitmap& strip = glyph();
    const bool hasGlyph = !strip.empty() && strip.image();
    const int gw = hasGlyph ? strip.width() / numGlyphs() : 0;
    const int gh = hasGlyph ? strip.height() : 0;

    int tw = 0, th = 0;
    if (!caption().empty()) {
        canvas.font().assign(font());
        tw = canvas.textWidth(caption());
        th = canvas.textHeight("H");
    }
    if (tw == 0) th = 0;

    const SkinPalette& p = colouring_.palette();
    Look look{};
    if (!enabled())
        look = {true, p.shadow, p.darkShadow, p.shadow, p.darkShadow, p.highlight, p.darkShadow, 0};
    else if (pressedOrDown() && mouseInControl())
        look = {true, p.hotShadow, p.hotHighlight, p.hotShadow, p.hotHighlight, p.hotDarkShadow, p.brightHighlight, 1};
    else if (pressedOrDown())
        look = {true, p.shadow, p.highlight, p.shadow, p.highlight, p.darkShadow, p.shadow, 1};
    else if (mouseInControl())
        look = {true, p.hotHighlight, p.hotShadow, p.hotHighlight, p.hotShadow, p.brightHighlight, p.hotDarkShadow, 0};
    else
        look = {false, 0, 0, 0, 0, p.shadow, p.darkShadow, 0};

    const TRect surface{0, 0, w - 1, h - 1};
    if (look.gradient) {
        DrawGradient(canvas, surface, look.surfaceTop, look.surfaceBottom);
        canvas.pen().setColor(look.innerLeft);
        canvas.moveTo(1, h - 3);
        canvas.lineTo(1, 1);
        canvas.pen().setColor(look.innerRight);
        canvas.moveTo(w - 2, h - 3);
        canvas.lineTo(w - 2, 1);
    } else {
        DrawShadeV(canvas, surface, colouring_.color());
    }
    DrawButtonFrame(canvas, w, h, look.outerTopLeft, look.outerBottomRight);

    canvas.brush().setStyle(TBrushStyle::bsClear);
    const int offset = look.pressOffset;
    if (tw != 0) {
        canvas.font().setColor(enabled() ? font().color() : clBtnHighlight);
        int x = (w - tw) / 2 + offset, y = (h - th) / 2 + offset;
        switch (layout()) {
        case TButtonLayout::blGlyphLeft: x = gw + (w - gw - tw) / 2 + offset; break;
        case TButtonLayout::blGlyphRight: x = (w - gw - tw) / 2 + offset; break;
        case TButtonLayout::blGlyphTop: y += gh / 2; break;
        case TButtonLayout::blGlyphBottom: y -= gh / 2; break;
        }
        canvas.textOut(x, y, caption());
    }
    if (hasGlyph && gw > 0) {
        int x = (w - gw) / 2 + offset, y = (h - gh) / 2 + offset;
        switch (layout()) {
        case TButtonLayout::blGlyphLeft: x = (w - gw - tw) / 2 + offset; break;
        case TButtonLayout::blGlyphRight: x = (w - gw - tw) / 2 + offset + tw; break;
        case TButtonLayout::blGlyphTop: y -= th / 2; break;
        case TButtonLayout::blGlyphBottom: y += th / 2; break;
        }
        canvas.draw(x, y, glyphFrameBitmap(*strip.image(), glyphFrame(), gw, gh));
    }
    canvas.brush().setStyle(TBrushStyle::bsSolid);
}

}  // namespace trovelin
