#include "framework/Control.h"

#include "framework/ControlHost.h"
#include "framework/Menus.h"
#include "framework/WinControl.h"
#include "streaming/Errors.h"

namespace trovelin {

TControl::TControl(Component* owner) : Component(owner)
{
    font_.setOnChange([this] {
        // A font set on the control itself stops following the parent's.
        if (!followingFont_) parentFont_ = false;
        notifyChildren(InheritedValue::Font);
    });
}

TControl::~TControl()
{
    setParent(nullptr);
}

const ClassInfo& TControl::staticClassInfo()
{
    static const ClassInfo info{
        "TControl",
        &Component::staticClassInfo(),
        {
            published::integer("Left", &TControl::left, &TControl::setLeft, std::nullopt),
            published::integer("Top", &TControl::top, &TControl::setTop, std::nullopt),
            published::integer("Width", &TControl::width, &TControl::setWidth, std::nullopt),
            published::integer("Height", &TControl::height, &TControl::setHeight, std::nullopt),
            published::integer("Cursor", &TControl::cursor, &TControl::setCursor, crDefault, &cursorConstants()),
            published::text("Hint", &TControl::hint, &TControl::setHint, ""),
        }};
    return info;
}

void TControl::setName(const std::string& name)
{
    bool followName = captionFollowsName_ && !loading() && caption_ == this->name();
    Component::setName(name);
    if (followName) caption_ = name;
}

void TControl::takeReaderParent(Component* parent)
{
    if (auto* windowed = dynamic_cast<TWinControl*>(parent)) setParent(windowed);
}

void TControl::setParent(TWinControl* parent)
{
    if (parent == parent_) return;
    if (parent_) parent_->removeControl(this);
    parent_ = parent;
    if (!parent_) return;
    parent_->insertControl(this);
    for (InheritedValue value : {InheritedValue::Color, InheritedValue::Font, InheritedValue::ShowHint,
                                 InheritedValue::BiDiMode, InheritedValue::Ctl3D})
        parentValueChanged(value);
}

void TControl::assignConstraints(const Persistent* other)
{
    auto* source = dynamic_cast<const TSizeConstraints*>(other);
    if (!source) throw EReadError(messages::invalidPropertyValue);
    constraints_ = *source;
}

void TControl::setEnabled(bool value)
{
    if (value == enabled_) return;
    enabled_ = value;
    leftPressed_ = false;
    enabledChanged();
    if (!value) giveUpFocus();
    invalidate();
}

void TControl::setVisible(bool value)
{
    if (value == visible_) return;
    visible_ = value;
    if (!value) giveUpFocus();
    invalidate();
}

void TControl::giveUpFocus()
{
    TControl* top = this;
    while (top->parent_) top = top->parent_;
    if (auto* windowed = dynamic_cast<TWinControl*>(top)) windowed->moveFocusOutOf(*this);
}

ControlHost* TControl::host() const
{
    for (const TControl* control = this; control; control = control->parent_)
        if (control->host_) return control->host_;
    return nullptr;
}

void TControl::invalidate()
{
    if (ControlHost* owner = host()) owner->invalidateControl(*this);
}

void TControl::repaint()
{
    if (ControlHost* owner = host()) owner->repaintControl(*this);
}

TRect TControl::opaqueArea() const { return opaque() ? TRect{0, 0, width_, height_} : TRect{}; }

void TControl::drawOnCanvas(const std::function<void(TCanvas&)>& draw)
{
    if (ControlHost* owner = host()) owner->drawOnControl(*this, draw);
}

TPoint TControl::offsetWithin(const TControl& ancestor) const
{
    TPoint offset;
    for (const TControl* c = this; c != nullptr && c != &ancestor; c = c->parent_) {
        offset.x += c->left_;
        offset.y += c->top_;
    }
    return offset;
}

TPoint TControl::clientToScreen(TPoint point) const
{
    const ControlHost* owner = host();
    return owner != nullptr ? owner->clientToScreen(*this, point) : point;
}

TPoint TControl::screenToClient(TPoint point) const
{
    const ControlHost* owner = host();
    return owner != nullptr ? owner->screenToClient(*this, point) : point;
}

ControlServices* TControl::services() const
{
    ControlHost* owner = host();
    return owner != nullptr ? owner->services() : nullptr;
}

void TControl::mouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == TMouseButton::mbLeft && clicksOnRelease_) leftPressed_ = true;
    if (onMouseDownHandler) onMouseDownHandler(*this, button, shift, x, y);
}

void TControl::mouseMove(TShiftState shift, int x, int y)
{
    if (onMouseMoveHandler) onMouseMoveHandler(*this, shift, x, y);
}

void TControl::mouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    // A click needs the press and the release on the control, as the button of a dialog does.
    const bool clicked = button == TMouseButton::mbLeft && leftPressed_ && containsPoint(x, y);
    if (button == TMouseButton::mbLeft) leftPressed_ = false;
    if (onMouseUpHandler) onMouseUpHandler(*this, button, shift, x, y);
    if (clicked) click();
}

void TControl::click()
{
    if (onClickHandler) onClickHandler(*this);
}

void TControl::setColor(TColor value)
{
    color_ = value;
    parentColor_ = false;
    notifyChildren(InheritedValue::Color);
}

void TControl::setParentColor(bool value)
{
    parentColor_ = value;
    if (value) followParent(InheritedValue::Color);
}

void TControl::assignFont(const Persistent* other)
{
    auto* source = dynamic_cast<const TFont*>(other);
    if (!source) throw EReadError(messages::invalidPropertyValue);
    font_.assign(*source);
}

void TControl::setParentFont(bool value)
{
    parentFont_ = value;
    if (value) followParent(InheritedValue::Font);
}

void TControl::setShowHint(bool value)
{
    showHint_ = value;
    parentShowHint_ = false;
    notifyChildren(InheritedValue::ShowHint);
}

void TControl::setParentShowHint(bool value)
{
    parentShowHint_ = value;
    if (value) followParent(InheritedValue::ShowHint);
}

void TControl::setBiDiMode(TBiDiMode value)
{
    biDiMode_ = value;
    parentBiDiMode_ = false;
    notifyChildren(InheritedValue::BiDiMode);
}

void TControl::setParentBiDiMode(bool value)
{
    parentBiDiMode_ = value;
    if (value) followParent(InheritedValue::BiDiMode);
}

void TControl::setPopupMenu(TPopupMenu* menu)
{
    popupMenu_ = menu;
    if (menu) freeNotification(menu);
}

void TControl::componentRemoved(Component* component)
{
    if (component == popupMenu_) popupMenu_ = nullptr;
}

void TControl::followParent(InheritedValue value)
{
    if (parent_) parentValueChanged(value);
}

void TControl::parentValueChanged(InheritedValue value)
{
    if (!parent_) return;
    switch (value) {
    case InheritedValue::Color:
        if (!parentColor_) return;
        color_ = parent_->color();
        break;
    case InheritedValue::Font:
        if (!parentFont_) return;
        followingFont_ = true;
        font_.assign(parent_->font());
        followingFont_ = false;
        return;  // the font's change notification has told the children
    case InheritedValue::ShowHint:
        if (!parentShowHint_) return;
        showHint_ = parent_->showHint();
        break;
    case InheritedValue::BiDiMode:
        if (!parentBiDiMode_) return;
        biDiMode_ = parent_->biDiMode();
        break;
    case InheritedValue::Ctl3D: return;  // only windowed controls have it
    }
    notifyChildren(value);
}

}  // namespace trovelin
