#include "framework/SpeedButton.h"

#include <algorithm>

#include <QPainter>

#include "framework/Canvas.h"
#include "framework/ControlProperties.h"
#include "framework/Menus.h"
#include "framework/WinControl.h"
#include "streaming/Errors.h"

namespace trovelin {

TSpeedButton::TSpeedButton(Component* owner) : TGraphicControl(owner)
{
    setCaptionFollowsName();
    setClicksItself();
}

const ClassInfo& TSpeedButton::staticClassInfo()
{
    using C = TSpeedButton;
    namespace shared = controlProperties;
    static const EnumType layoutNames{"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"};
    static const ClassInfo info{
        "TSpeedButton",
        &TControl::staticClassInfo(),
        shared::table({
            {published::reference("Action", TBasicAction::staticClassInfo(), &C::action, &C::setAction),
             published::boolean("AllowAllUp", &C::allowAllUp, &C::setAllowAllUp, false), shared::anchors(),
             shared::biDiMode(), shared::constraints(), published::integer("GroupIndex", &C::groupIndex,
                                                                           &C::setGroupIndex, 0),
             published::boolean("Down", &C::down, &C::setDown, false), shared::caption(), shared::enabled(),
             published::boolean("Flat", &C::flat, &C::setFlat, false), shared::font(),
             published::object("Glyph", TBitmap::staticClassInfo(), &C::glyph, &C::assignGlyph),
             published::enumeration("Layout", layoutNames, &C::layout, &C::setLayout,
                                    std::optional(TButtonLayout::blGlyphLeft)),
             published::integer("Margin", &C::margin, &C::setMargin, -1),
             published::integer("NumGlyphs", &C::numGlyphs, &C::setNumGlyphs, 1), shared::parentFont(),
             shared::parentShowHint(), shared::parentBiDiMode(), shared::popupMenu(), shared::showHint(),
             published::integer("Spacing", &C::spacing, &C::setSpacing, 4),
             published::boolean("Transparent", &C::transparent, &C::setTransparent, true), shared::visible()},
            shared::mouseEvents(),
        }),
        &createComponent<TSpeedButton>};
    return info;
}

void TSpeedButton::setAction(TBasicAction* action)
{
    action_ = action;
    if (action) freeNotification(action);
}

void TSpeedButton::assignGlyph(const Persistent* other)
{
    if (other && !dynamic_cast<const TBitmap*>(other)) throw EReadError(messages::invalidPropertyValue);
    glyph_.assign(static_cast<const TBitmap*>(other));
}

void TSpeedButton::setDown(bool value)
{
    if (value == down_) return;
    down_ = value;
    state_ = value ? TButtonState::bsExclusive : TButtonState::bsUp;
    if (value && groupIndex_ != 0 && parent()) {
        for (TControl* sibling : parent()->controls()) {
            auto* button = dynamic_cast<TSpeedButton*>(sibling);
            if (button && button != this && button->groupIndex_ == groupIndex_) button->setDown(false);
        }
    }
    invalidate();
}

void TSpeedButton::setFlat(bool value)
{
    if (value == flat_) return;
    flat_ = value;
    if (!flat_) mouseInControl_ = false;
    invalidate();
}

void TSpeedButton::setLayout(TButtonLayout value)
{
    if (value == layout_) return;
    layout_ = value;
    invalidate();
}

void TSpeedButton::setGlyph(const TBitmap& glyph)
{
    glyph_.assign(&glyph);
    const int width = glyph_.width(), height = glyph_.height();
    if (height > 0 && width % height == 0) {
        const int frames = width / height;
        if (frames >= 1) numGlyphs_ = frames <= 4 ? frames : 1;
    }
    invalidate();
}

void TSpeedButton::mouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::mouseDown(button, shift, x, y);
    if (button != TMouseButton::mbLeft || !enabled()) return;
    if (!down_) {
        state_ = TButtonState::bsDown;
        invalidate();
    }
    dragging_ = true;
}

void TSpeedButton::mouseMove(TShiftState shift, int x, int y)
{
    TGraphicControl::mouseMove(shift, x, y);
    if (!dragging_) {
        updateTracking(containsPoint(x, y));
        return;
    }
    TButtonState wanted = down_ ? TButtonState::bsExclusive : TButtonState::bsUp;
    if (containsPoint(x, y) && !down_) wanted = TButtonState::bsDown;
    if (wanted != state_) {
        state_ = wanted;
        invalidate();
    }
}

void TSpeedButton::mouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::mouseUp(button, shift, x, y);
    if (button != TMouseButton::mbLeft || !dragging_) return;
    dragging_ = false;
    const bool doClick = containsPoint(x, y);
    if (groupIndex_ == 0) {
        state_ = TButtonState::bsUp;
        invalidate();
    } else if (doClick) {
        // A grouped button latches; only AllowAllUp lets the last one of its group go up again.
        if (!down_) setDown(true);
        else if (allowAllUp_) setDown(false);
        state_ = down_ ? TButtonState::bsExclusive : TButtonState::bsUp;
        invalidate();
    } else {
        state_ = down_ ? TButtonState::bsExclusive : TButtonState::bsUp;
        invalidate();
    }
    updateTracking(doClick);
    if (doClick) click();
}

void TSpeedButton::mouseEnter()
{
    if (!flat_ || mouseInControl_ || !enabled() || dragMode() == TDragMode::dmAutomatic || dragging_) return;
    mouseInControl_ = true;
    repaint();
}

void TSpeedButton::mouseLeave()
{
    if (!flat_ || !mouseInControl_ || !enabled() || dragging_) return;
    mouseInControl_ = false;
    invalidate();
}

void TSpeedButton::updateTracking(bool inside)
{
    if (!flat_ || !enabled() || inside == mouseInControl_) return;
    mouseInControl_ = inside;
    invalidate();
}

void TSpeedButton::setNumGlyphs(std::int32_t value)
{
    numGlyphs_ = std::clamp(value, 1, 4);
}

void TSpeedButton::componentRemoved(Component* component)
{
    if (component == action_) action_ = nullptr;
    TGraphicControl::componentRemoved(component);
}

void TSpeedButton::paint(TCanvas& canvas)
{
    const bool pressed = pressedOrDown();
    if (!flat_ || mouseInControl_ || pressed) {
        canvas.brush().setStyle(TBrushStyle::bsSolid);
        canvas.brush().setColor(clBtnFace);
        canvas.fillRect({0, 0, width(), height()});
        const TColor topLeft = pressed ? clBtnShadow : clBtnHighlight;
        const TColor bottomRight = pressed ? clBtnHighlight : clBtnShadow;
        canvas.pen().setColor(topLeft);
        canvas.moveTo(0, height() - 1);
        canvas.lineTo(0, 0);
        canvas.lineTo(width() - 1, 0);
        canvas.pen().setColor(bottomRight);
        canvas.lineTo(width() - 1, height() - 1);
        canvas.lineTo(-1, height() - 1);
    }
    const int offset = pressed ? 1 : 0;
    canvas.font().assign(font());
    canvas.font().setColor(enabled() ? font().color() : clBtnShadow);
    const std::string& text = caption();
    const int textWidth = text.empty() ? 0 : canvas.textWidth(text);
    const int textHeight = text.empty() ? 0 : canvas.textHeight(text);
    const int glyphWidth = glyph_.empty() ? 0 : glyph_.width() / numGlyphs_;
    const int glyphHeight = glyph_.empty() ? 0 : glyph_.height();
    const int gap = glyphWidth > 0 && textWidth > 0 ? std::max(spacing_, 0) : 0;
    const bool sideBySide = layout_ == TButtonLayout::blGlyphLeft || layout_ == TButtonLayout::blGlyphRight;
    const int blockWidth = sideBySide ? glyphWidth + gap + textWidth : std::max(glyphWidth, textWidth);
    const int blockHeight = sideBySide ? std::max(glyphHeight, textHeight) : glyphHeight + gap + textHeight;
    const int left = (width() - blockWidth) / 2 + offset;
    const int top = (height() - blockHeight) / 2 + offset;
    TPoint glyphAt{left, top + (blockHeight - glyphHeight) / 2};
    TPoint textAt{left + glyphWidth + gap, top + (blockHeight - textHeight) / 2};
    switch (layout_) {
    case TButtonLayout::blGlyphLeft: break;
    case TButtonLayout::blGlyphRight:
        textAt.x = left;
        glyphAt.x = left + textWidth + gap;
        break;
    case TButtonLayout::blGlyphTop:
        glyphAt = {left + (blockWidth - glyphWidth) / 2, top};
        textAt = {left + (blockWidth - textWidth) / 2, top + glyphHeight + gap};
        break;
    case TButtonLayout::blGlyphBottom:
        textAt = {left + (blockWidth - textWidth) / 2, top};
        glyphAt = {left + (blockWidth - glyphWidth) / 2, top + textHeight + gap};
        break;
    }
    if (glyphWidth > 0) {
        // The strip holds the up, disabled, pressed and down images, as many as NumGlyphs says.
        int frame = 0;
        if (!enabled() && numGlyphs_ > 1) frame = 1;
        else if (state_ == TButtonState::bsDown && numGlyphs_ > 2) frame = 2;
        else if (down_ && numGlyphs_ > 3) frame = 3;
        TBitmap image = glyph_;
        image.setTransparent(true);
        QPainter& painter = canvas.painter();
        painter.save();
        painter.setClipRect(glyphAt.x, glyphAt.y, glyphWidth, glyphHeight, Qt::IntersectClip);
        canvas.draw(glyphAt.x - frame * glyphWidth, glyphAt.y, image);
        painter.restore();
    }
    if (textWidth > 0) {
        canvas.brush().setStyle(TBrushStyle::bsClear);
        canvas.textOut(textAt.x, textAt.y, text);
    }
}

}  // namespace trovelin
