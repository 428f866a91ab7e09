#pragma once
// Controls: components with a parent, bounds, visibility and the appearance values that a
// control can take over from its parent (colour, font, hint display, reading order).

#include <cstdint>
#include <functional>
#include <string>

#include "framework/Font.h"
#include "framework/Geometry.h"
#include "framework/NamedConstants.h"
#include "framework/SizeConstraints.h"
#include "streaming/Component.h"

namespace trovelin {

class ControlHost;
class ControlServices;
class TCanvas;
class TControl;
class TWinControl;
class TPopupMenu;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
// Where a caption sits: labels, panels and the boxes of check boxes and radio buttons.
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TAnchorKind : std::uint32_t { akLeft = 1u << 0, akTop = 1u << 1, akRight = 1u << 2, akBottom = 1u << 3 };
enum class TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
enum class TDragKind { dkDrag, dkDock };
enum class TDragMode { dmManual, dmAutomatic };

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
// Keys and mouse buttons held during a mouse event; ssDouble marks the second press of a double click.
enum TShiftStateFlag : std::uint32_t {
    ssShift = 1u << 0,
    ssAlt = 1u << 1,
    ssCtrl = 1u << 2,
    ssLeft = 1u << 3,
    ssRight = 1u << 4,
    ssMiddle = 1u << 5,
    ssDouble = 1u << 6,
};
using TShiftState = std::uint32_t;

// Program-side event handlers. The MethodRef members of TControl only carry the handler names
// that records store; these are what runs.
using TNotifyEvent = std::function<void(TControl& sender)>;
using TMouseEvent = std::function<void(TControl& sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TControl& sender, TShiftState shift, int x, int y)>;

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
    // A control that can no longer take the focus, being disabled or hidden, gives it up: it
    // moves on as Tab would, or to none.
    void setEnabled(bool value);
    bool visible() const { return visible_; }
    void setVisible(bool value);
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

    // Whether the control sits in a panel designer's form rather than a running program. This
    // program has no designer, so it is always false; widgets keep the designer's rules with it.
    bool designing() const { return false; }

    TPopupMenu* popupMenu() const { return popupMenu_; }
    void setPopupMenu(TPopupMenu* menu);

    MethodRef onClick, onDblClick, onMouseDown, onMouseMove, onMouseUp;
    MethodRef onDragDrop, onDragOver, onEndDock, onEndDrag, onStartDock, onStartDrag;

    // Called by the parent when one of its inheritable values changed.
    virtual void parentValueChanged(InheritedValue value);

    // Painting: the canvas has its origin at the control's top left and covers its client area.
    virtual void paint(TCanvas&) {}
    // Whether paint() covers every pixel of the control's bounds with its own, so that what lies
    // below it need not be painted there.
    virtual bool opaque() const { return false; }
    // The part of the bounds, in the control's own coordinates, that paint() covers with its own
    // pixels: all of them when opaque(), none otherwise, unless a class knows better (a knob's
    // filled disc).
    virtual TRect opaqueArea() const;
    // The host that shows this control: its own, else the nearest parent's.
    ControlHost* host() const;
    // Gives the control a host of its own (null detaches it); the host must outlive the link.
    void setHost(ControlHost* host) { host_ = host; }
    // Asks the host to paint the control again, later (invalidate) or before returning (repaint).
    void invalidate();
    void repaint();
    // Draws on the control as shown, outside a paint; nothing is drawn where no host shows it.
    void drawOnCanvas(const std::function<void(TCanvas&)>& draw);
    // Where the control lies in `ancestor`: its own Left and Top and those of its parents below
    // `ancestor` (all of them when `ancestor` is not among them). (0, 0) for `ancestor` itself.
    TPoint offsetWithin(const TControl& ancestor) const;
    // A client point on the screen; the point itself where no host shows the control.
    TPoint clientToScreen(TPoint point) const;
    TPoint screenToClient(TPoint point) const;
    // The timers, hint windows and pointer of the control's host; null where it has none.
    ControlServices* services() const;

    // Mouse input in client coordinates, delivered by the host only while the control is enabled;
    // enter and leave arrive whatever the state. Overrides call the inherited version first.
    virtual void mouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void mouseMove(TShiftState shift, int x, int y);
    virtual void mouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void mouseEnter() {}
    virtual void mouseLeave() {}
    virtual void click();
    bool containsPoint(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    TNotifyEvent onClickHandler;
    TMouseEvent onMouseDownHandler, onMouseUpHandler;
    TMouseMoveEvent onMouseMoveHandler;

protected:
    // Controls whose caption follows their name while the two are equal.
    void setCaptionFollowsName() { captionFollowsName_ = true; }
    // Controls that raise click() themselves instead of on a left press and release inside them.
    void setClicksItself() { clicksOnRelease_ = false; }
    // Passes a change on to the controls that follow this one; only windowed controls have any.
    virtual void notifyChildren(InheritedValue) {}
    // Enabled changed, either way: whatever a held button started (a repeat, a drag) ends here,
    // since a disabled control hears no release.
    virtual void enabledChanged() {}
    void componentRemoved(Component* component) override;

private:
    void followParent(InheritedValue value);
    void giveUpFocus();

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
    ControlHost* host_ = nullptr;
    bool clicksOnRelease_ = true;
    bool leftPressed_ = false;
};

// A control without a window of its own (image, label, speed button).
class TGraphicControl : public TControl {
public:
    using TControl::TControl;
};

}  // namespace trovelin
