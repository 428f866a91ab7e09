#pragma once
// The base of panels: a windowed control with a caption, its alignment and a bevel width.
// It draws nothing itself; the panels built on it paint their own face.

#include <vector>

#include "framework/WinControl.h"

namespace trovelin {

class TCustomPanel : public TWinControl {
public:
    explicit TCustomPanel(Component* owner);

    // The properties a panel publishes: Align, Alignment, Anchors, BevelWidth, Caption, Color,
    // Constraints, Ctl3D, Enabled, Font, FullRepaint, ParentColor, ParentCtl3D, ParentFont,
    // ParentShowHint, PopupMenu, ShowHint, TabOrder, TabStop, Visible and the mouse events.
    static std::vector<PropertyInfo> panelProperties();

    TAlignment alignment() const { return alignment_; }
    void setAlignment(TAlignment value);
    std::int32_t bevelWidth() const { return bevelWidth_; }
    void setBevelWidth(std::int32_t value);
    bool fullRepaint() const { return fullRepaint_; }
    void setFullRepaint(bool value) { fullRepaint_ = value; }

private:
    TAlignment alignment_ = TAlignment::taCenter;
    std::int32_t bevelWidth_ = 1;
    bool fullRepaint_ = true;
};

}  // namespace trovelin
