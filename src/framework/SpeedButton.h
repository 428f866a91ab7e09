#pragma once
// The speed button: a flat button with a glyph, whose glyph the loader harvests.

#include "framework/Control.h"
#include "streaming/Bitmap.h"

namespace trovelin {

class TBasicAction;

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
// Up, pressed by the mouse (bsDown) or held down by Down (bsExclusive); a disabled button
// is told by enabled().
enum class TButtonState { bsUp, bsDown, bsExclusive };

class TSpeedButton : public TGraphicControl {
public:
    explicit TSpeedButton(Component* owner);

    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    TBasicAction* action() const { return action_; }
    void setAction(TBasicAction* action);
    bool allowAllUp() const { return allowAllUp_; }
    void setAllowAllUp(bool value) { allowAllUp_ = value; }
    bool down() const { return down_; }
    // Latching down a grouped button releases the other buttons of its group under the same parent.
    void setDown(bool value);
    bool flat() const { return flat_; }
    void setFlat(bool value);
    TBitmap& glyph() { return glyph_; }
    void assignGlyph(const Persistent* other);
    // A program's glyph: a strip of square images sets NumGlyphs to their count (1 beyond 4).
    // Records keep their own NumGlyphs, so reading one goes through assignGlyph instead.
    void setGlyph(const TBitmap& glyph);
    std::int32_t groupIndex() const { return groupIndex_; }
    void setGroupIndex(std::int32_t value) { groupIndex_ = value; }
    TButtonLayout layout() const { return layout_; }
    void setLayout(TButtonLayout value);
    std::int32_t margin() const { return margin_; }
    void setMargin(std::int32_t value) { margin_ = value; }
    // Images side by side in the glyph, 1 to 4.
    std::int32_t numGlyphs() const { return numGlyphs_; }
    void setNumGlyphs(std::int32_t value);
    std::int32_t spacing() const { return spacing_; }
    void setSpacing(std::int32_t value) { spacing_ = value; }
    bool transparent() const { return transparent_; }
    void setTransparent(bool value) { transparent_ = value; }

    TButtonState state() const { return state_; }
    // Pressed by the mouse or latched by Down.
    bool pressedOrDown() const { return down_ || state_ != TButtonState::bsUp; }
    // Whether the mouse is over a flat, enabled button; always false for other buttons.
    bool mouseInControl() const { return mouseInControl_; }

    void mouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void mouseMove(TShiftState shift, int x, int y) override;
    void mouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void mouseEnter() override;
    void mouseLeave() override;

    // A raised face (sunk while pressed or down; none for a flat button the mouse is not over),
    // the glyph's image for the state, transparent in its bottom-left colour, and the caption,
    // the two centred together as Layout and Spacing place them.
    void paint(TCanvas& canvas) override;
    // The raised or sunk face fills the bounds before the glyph and caption.
    bool opaque() const override { return !flat_ || mouseInControl_ || pressedOrDown(); }

protected:
    void componentRemoved(Component* component) override;

private:
    void updateTracking(bool inside);

    TButtonState state_ = TButtonState::bsUp;
    bool dragging_ = false;
    bool mouseInControl_ = false;
    TBasicAction* action_ = nullptr;
    bool allowAllUp_ = false;
    bool down_ = false;
    bool flat_ = false;
    TBitmap glyph_;
    std::int32_t groupIndex_ = 0;
    TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
    std::int32_t margin_ = -1;
    std::int32_t numGlyphs_ = 1;
    std::int32_t spacing_ = 4;
    bool transparent_ = true;
};

}  // namespace trovelin
