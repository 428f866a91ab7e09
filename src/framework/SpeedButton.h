#pragma once
// The speed button: a flat button with a glyph, whose glyph the loader harvests.

#include "framework/Control.h"
#include "streaming/Bitmap.h"

namespace trovelin {

class TBasicAction;

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

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
    void setDown(bool value) { down_ = value; }
    bool flat() const { return flat_; }
    void setFlat(bool value) { flat_ = value; }
    TBitmap& glyph() { return glyph_; }
    void assignGlyph(const Persistent* other);
    std::int32_t groupIndex() const { return groupIndex_; }
    void setGroupIndex(std::int32_t value) { groupIndex_ = value; }
    TButtonLayout layout() const { return layout_; }
    void setLayout(TButtonLayout value) { layout_ = value; }
    std::int32_t margin() const { return margin_; }
    void setMargin(std::int32_t value) { margin_ = value; }
    // Images side by side in the glyph, 1 to 4.
    std::int32_t numGlyphs() const { return numGlyphs_; }
    void setNumGlyphs(std::int32_t value);
    std::int32_t spacing() const { return spacing_; }
    void setSpacing(std::int32_t value) { spacing_ = value; }
    bool transparent() const { return transparent_; }
    void setTransparent(bool value) { transparent_ = value; }

protected:
    void componentRemoved(Component* component) override;

private:
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
