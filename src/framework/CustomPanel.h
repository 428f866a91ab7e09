#pragma once
// The base of panels: a windowed control with a caption, its alignment and a bevel width.
// It draws nothing itself; the panels built on it paint their own face.

#include <vector>

#include "framework/WinControl.h"

namespace trovelin {

// The panel's two bevels, kept for the designer; skinned panels draw their own frame instead.
enum class TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };

class TCustomPanel : public TWinControl {
public:
    explicit TCustomPanel(Component* owner);

    // The properties a panel publishes: Align, Alignment, Anchors, BevelWidth, Caption, Color,
    // Constraints, Ctl3D, Enabled, Font, FullRepaint, ParentColor, ParentCtl3D, ParentFont,
    // ParentShowHint, PopupMenu, ShowHint, TabOrder, TabStop, Visible and the mouse events.
    static std::vector<PropertyInfo> panelProperties();
    // BevelInner (default bvNone) and BevelOuter (default bvRaised).
    static std::vector<PropertyInfo> bevelProperties();

    TAlignment alignment() const { return alignment_; }
    void setAlignment(TAlignment value);
    std::int32_t bevelWidth() const { return bevelWidth_; }
    void setBevelWidth(std::int32_t value);
    TPanelBevel bevelInner() const { return bevelInner_; }
    void setBevelInner(TPanelBevel value) { bevelInner_ = value; }
    TPanelBevel bevelOuter() const { return bevelOuter_; }
    void setBevelOuter(TPanelBevel value) { bevelOuter_ = value; }
    bool fullRepaint() const { return fullRepaint_; }
    void setFullRepaint(bool value) { fullRepaint_ = value; }

private:
    TAlignment alignment_ = TAlignment::taCenter;
    std::int32_t bevelWidth_ = 1;
    TPanelBevel bevelInner_ = TPanelBevel::bvNone;
    TPanelBevel bevelOuter_ = TPanelBevel::bvRaised;
    bool fullRepaint_ = true;
};

}  // namespace trovelin
