#pragma once
// Controls: components with a parent, bounds, visibility and the appearance values that a
// control can take over from its parent (colour, font, hint display, reading order).

#include <cstdint>
#include <string>

#include "framework/Font.h"
#include "framework/NamedConstants.h"
#include "framework/SizeConstraints.h"
#include "streaming/Component.h"

namespace trovelin {

class TWinControl;
class TPopupMenu;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TAnchorKind : std::uint32_t { akLeft = 1u << 0, akTop = 1u << 1, akRight = 1u << 2, akBottom = 1u << 3 };
enum class TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
enum class TDragKind { dkDrag, dkDock };
enum class TDragMode { dmManual, dmAutomatic };

// The values a control follows from its parent while the matching Parent* flag is set.
enum class InheritedValue { Color, Font, ShowHint, BiDiMode, Ctl3D };

class TControl : public Component {
public:
    explicit TControl(Component* owner);
    ~TControl() override;

    // Left, Top, Width, Height, Cursor and Hint: what every control publishes.
    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    // Naming keeps the caption in step while it equals the name, for controls with captions.
    void setName(const std::string& name) override;
    void takeReaderParent(Component* parent) override;

    TWinControl* parent() const { return parent_; }
    void setParent(TWinControl* parent);

    std::int32_t left() const { return left_; }
    void setLeft(std::int32_t value) { left_ = value; }
    std::int32_t top() const { return top_; }
    void setTop(std::int32_t value) { top_ = value; }
    std::int32_t width() const { return width_; }
    void setWidth(std::int32_t value) { width_ = value; }
    std::int32_t height() const { return height_; }
    void setHeight(std::int32_t value) { height_ = value; }
    TCursor cursor() const { return cursor_; }
    void setCursor(TCursor value) { cursor_ = value; }
    const std::string& hint() const { return hint_; }
    void setHint(const std::string& value) { hint_ = value; }

    TAlign align() const { return align_; }
    void setAlign(TAlign value) { align_ = value; }
    std::uint32_t anchors() const { return anchors_; }
    void setAnchors(std::uint32_t value) { anchors_ = value & 0x0F; }
    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& value) { caption_ = value; }
    TCursor dragCursor() const { return dragCursor_; }
    void setDragCursor(TCursor value) { dragCursor_ = value; }
    TDragKind dragKind() const { return dragKind_; }
    void setDragKind(TDragKind value) { dragKind_ = value; }
    TDragMode dragMode() const { return dragMode_; }
    void setDragMode(TDragMode value) { dragMode_ = value; }
    bool enabled() const { return enabled_; }
    void setEnabled(bool value) { enabled_ = value; }
    bool visible() const { return visible_; }
    void setVisible(bool value) { visible_ = value; }
    TSizeConstraints& constraints() { return constraints_; }
    void assignConstraints(const Persistent* other);

    TColor color() const { return color_; }
    void setColor(TColor value);
    bool parentColor() const { return parentColor_; }
    void setParentColor(bool value);
    TFont& font() { return font_; }
    const TFont& font() const { return font_; }
    void assignFont(const Persistent* other);
    bool parentFont() const { return parentFont_; }
    void setParentFont(bool value);
    bool showHint() const { return showHint_; }
    void setShowHint(bool value);
    bool parentShowHint() const { return parentShowHint_; }
    void setParentShowHint(bool value);
    TBiDiMode biDiMode() const { return biDiMode_; }
    void setBiDiMode(TBiDiMode value);
    bool parentBiDiMode() const { return parentBiDiMode_; }
    void setParentBiDiMode(bool value);

    TPopupMenu* popupMenu() const { return popupMenu_; }
    void setPopupMenu(TPopupMenu* menu);

    MethodRef onClick, onDblClick, onMouseDown, onMouseMove, onMouseUp;
    MethodRef onDragDrop, onDragOver, onEndDock, onEndDrag, onStartDock, onStartDrag;

    // Called by the parent when one of its inheritable values changed.
    virtual void parentValueChanged(InheritedValue value);

protected:
    // Controls whose caption follows their name while the two are equal.
    void setCaptionFollowsName() { captionFollowsName_ = true; }
    // Passes a change on to the controls that follow this one; only windowed controls have any.
    virtual void notifyChildren(InheritedValue) {}
    void componentRemoved(Component* component) override;

private:
    void followParent(InheritedValue value);

    TWinControl* parent_ = nullptr;
    std::int32_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    TCursor cursor_ = crDefault;
    std::string hint_;
    TAlign align_ = TAlign::alNone;
    std::uint32_t anchors_ = akLeft | akTop;
    std::string caption_;
    bool captionFollowsName_ = false;
    TCursor dragCursor_ = crDrag;
    TDragKind dragKind_ = TDragKind::dkDrag;
    TDragMode dragMode_ = TDragMode::dmManual;
    bool enabled_ = true;
    bool visible_ = true;
    TSizeConstraints constraints_;
    TColor color_ = clWindow;
    bool parentColor_ = true;
    TFont font_;
    bool parentFont_ = true;
    bool followingFont_ = false;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    TBiDiMode biDiMode_ = TBiDiMode::bdLeftToRight;
    bool parentBiDiMode_ = true;
    TPopupMenu* popupMenu_ = nullptr;
};

// A control without a window of its own (image, label, speed button).
class TGraphicControl : public TControl {
public:
    using TControl::TControl;
};

}  // namespace trovelin
