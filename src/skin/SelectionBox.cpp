#include "skin/SelectionBox.h"

#include <QPainter>

#include "framework/Canvas.h"
#include "framework/ControlProperties.h"
#include "framework/Keys.h"
#include "skin/SelectionGlyphs.h"
#include "skin/Wconst.h"
#include "streaming/DibImage.h"

namespace trovelin {
namespace {

constexpr int frameCount = 4;

}  // namespace

TWSelectionBox::TWSelectionBox(Component* owner, std::string_view stripResource)
    : TCustomControl(owner), stripResource_(stripResource), strip_(selectionStripResource(stripResource))
{
    setWidth(97);
    setHeight(17);
    setTabStop(true);
}

std::vector<PropertyInfo> TWSelectionBox::sharedProperties()
{
    using C = TWSelectionBox;
    namespace shared = controlProperties;
    return shared::table({
        {shared::alignment(&C::alignment, &C::setAlignment),
         published::text("Caption", &C::caption, &C::setCaption, ""),
         published::boolean("Checked", &C::checked, &C::setChecked, false), shared::color(), shared::dragCursor(),
         shared::dragMode(), shared::enabled(), shared::font(), shared::parentColor(), shared::parentFont(),
         shared::parentShowHint(), shared::popupMenu(), shared::showHint(), shared::tabOrder(), shared::tabStop(true),
         published::character("Tab", &C::tab, &C::setTab, 2), shared::visible(),
         published::event("OnEnter", &C::onEnter), published::event("OnExit", &C::onExit)},
        shared::mouseEvents(),
        shared::keyEvents(),
        shared::dragEvents(),
    });
}

void TWSelectionBox::setAlignment(TAlignment value)
{
    if (value == alignment_) return;
    alignment_ = value;
    invalidate();
}

void TWSelectionBox::setTab(std::int8_t value)
{
    if (value == tab_) return;
    tab_ = value;
    invalidate();
}

void TWSelectionBox::setCaption(const std::string& value)
{
    if (value == caption()) return;
    TCustomControl::setCaption(value);
    repaint();
}

void TWSelectionBox::setGlyph(const TBitmap* strip)
{
    strip_ = strip != nullptr ? *strip : selectionStripResource(stripResource_);
    framesMade_ = false;
    invalidate();
}

const QImage& TWSelectionBox::frameImage(int frame)
{
    if (!framesMade_) {
        framesMade_ = true;
        const int gw = strip_.width() / frameCount;
        const int gh = strip_.height();
        for (int f = 0; f < frameCount; ++f) {
            frames_[static_cast<std::size_t>(f)] = QImage();
            if (gw <= 0 || gh <= 0 || !strip_.image()) continue;
            const DibImage& source = *strip_.image();
            QImage image(gw, gh, QImage::Format_ARGB32);
            const std::uint32_t transparent = source.pixel(f * gw, gh - 1);
            for (int y = 0; y < gh; ++y) {
                auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
                for (int x = 0; x < gw; ++x) {
                    const std::uint32_t c = source.pixel(f * gw + x, y);
                    row[x] = c == transparent ? qRgba(0, 0, 0, 0) : qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
                }
            }
            frames_[static_cast<std::size_t>(f)] = std::move(image);
        }
    }
    return frames_[static_cast<std::size_t>(frame)];
}

int TWSelectionBox::boxLeft() const
{
    return alignment_ == TAlignment::taRightJustify ? limitedExtent(width()) - strip_.width() / frameCount : 0;
}

void TWSelectionBox::drawBox(TCanvas& canvas)
{
    if (alignment_ == TAlignment::taCenter) return;
    const QImage& box = frameImage(glyphFrame());
    if (box.isNull()) return;
    canvas.painter().drawImage(boxLeft(), (limitedExtent(height()) - box.height()) / 2, box);
}

void TWSelectionBox::paint(TCanvas& canvas)
{
    if (parent() == nullptr || (!visible() && !designing())) return;
    const int gw = strip_.width() / frameCount;
    int tw = 0, th = 0;
    canvas.font().assign(font());
    if (!caption().empty()) {
        th = canvas.textHeight("H");
        tw = canvas.textWidth(caption());
    }
    if (!enabled()) canvas.font().setColor(clBtnHighlight);

    canvas.brush().setStyle(TBrushStyle::bsClear);
    drawBox(canvas);
    const int w = limitedExtent(width()), h = limitedExtent(height());
    if (!caption().empty() && alignment_ != TAlignment::taCenter) {
        const int y = (h - th) / 2;
        const int x = alignment_ == TAlignment::taLeftJustify ? gw + 2 : w - gw - tw - 2;
        if (enabled()) {
            canvas.textOut(x, y, caption());
        } else {
            // Engraved: a light copy one pixel down and right under the shadow-coloured text.
            canvas.textOut(x + 1, y + 1, caption());
            canvas.font().setColor(clBtnShadow);
            canvas.textOut(x, y, caption());
        }
    }
    if (hasFocus_) {
        canvas.pen().setStyle(TPenStyle::psDot);
        canvas.rectangle(0, 0, w - 1, h - 1);
        canvas.pen().setStyle(TPenStyle::psSolid);
    }
    canvas.brush().setStyle(TBrushStyle::bsSolid);
}

void TWSelectionBox::PaintGlyph()
{
    drawOnCanvas([this](TCanvas& canvas) { drawBox(canvas); });
}

void TWSelectionBox::mouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (!enabled()) return;
    if (button == TMouseButton::mbLeft) {
        setFocus();
        mousePressed_ = true;
        PaintGlyph();
    }
    TCustomControl::mouseDown(button, shift, x, y);
}

void TWSelectionBox::mouseMove(TShiftState, int x, int y)
{
    // Moves are the widget's own: no OnMouseMove.
    if (mouseOver_ || !enabled() || !containsPoint(x, y)) return;
    mouseOver_ = true;
    PaintGlyph();
}

void TWSelectionBox::mouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (!enabled()) return;
    if (button == TMouseButton::mbLeft) {
        mousePressed_ = false;
        PaintGlyph();
    }
    TCustomControl::mouseUp(button, shift, x, y);
}

void TWSelectionBox::mouseEnter()
{
    if (!enabled() || mouseOver_) return;
    mouseOver_ = true;
    PaintGlyph();
}

void TWSelectionBox::mouseLeave()
{
    if (!enabled() || !mouseOver_) return;
    mouseOver_ = false;
    PaintGlyph();
}

void TWSelectionBox::keyUp(int& key, TShiftState shift)
{
    TCustomControl::keyUp(key, shift);
    if (key == VK_SPACE) click();
}

bool TWSelectionBox::dialogChar(char key)
{
    if (!isAccel(key, caption()) || !canFocus()) return false;
    click();
    return true;
}

void TWSelectionBox::doEnter()
{
    hasFocus_ = true;
    invalidate();
    TCustomControl::doEnter();
}

void TWSelectionBox::doExit()
{
    hasFocus_ = false;
    invalidate();
    TCustomControl::doExit();
}

}  // namespace trovelin
