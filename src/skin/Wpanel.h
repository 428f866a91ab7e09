#pragma once
// The skinned panel: a shaded face with a one-pixel frame inset by BevelWidth and its caption
// placed by Alignment.

#include "framework/CustomPanel.h"

namespace trovelin {

enum class TBorderStyle { bsNone, bsSingle };

class TWPanel : public TCustomPanel {
public:
    explicit TWPanel(Component* owner);

    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    // Kept for the designer; the painting ignores them.
    std::int32_t borderWidth() const { return borderWidth_; }
    void setBorderWidth(std::int32_t value) { borderWidth_ = value; }
    TBorderStyle borderStyle() const { return borderStyle_; }
    void setBorderStyle(TBorderStyle value) { borderStyle_ = value; }
    bool locked() const { return locked_; }
    void setLocked(bool value) { locked_ = value; }

    MethodRef onCanResize, onConstrainedResize, onResize;

    void paint(TCanvas& canvas) override;

private:
    std::int32_t borderWidth_ = 0;
    TBorderStyle borderStyle_ = TBorderStyle::bsNone;
    bool locked_ = false;
};

}  // namespace trovelin
