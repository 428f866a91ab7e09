#include "framework/ControlProperties.h"

#include "framework/Control.h"
#include "framework/Menus.h"
#include "framework/WinControl.h"

namespace trovelin::controlProperties {

namespace {
const EnumType& alignNames()
{
    static const EnumType names{"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"};
    return names;
}
const EnumType& anchorNames()
{
    static const EnumType names{"akLeft", "akTop", "akRight", "akBottom"};
    return names;
}
const EnumType& biDiModeNames()
{
    static const EnumType names{"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign",
                                "bdRightToLeftReadingOnly"};
    return names;
}
const EnumType& dragKindNames()
{
    static const EnumType names{"dkDrag", "dkDock"};
    return names;
}
const EnumType& dragModeNames()
{
    static const EnumType names{"dmManual", "dmAutomatic"};
    return names;
}
}  // namespace

const EnumType& alignmentNames()
{
    static const EnumType names{"taLeftJustify", "taRightJustify", "taCenter"};
    return names;
}

using C = TControl;

PropertyInfo align()
{
    return published::enumeration("Align", alignNames(), &C::align, &C::setAlign, std::optional(TAlign::alNone));
}

PropertyInfo anchors()
{
    return published::set("Anchors", anchorNames(), &C::anchors, &C::setAnchors, akLeft | akTop);
}

PropertyInfo biDiMode()
{
    return published::enumeration("BiDiMode", biDiModeNames(), &C::biDiMode, &C::setBiDiMode,
                                  std::optional<TBiDiMode>());
}

PropertyInfo caption()
{
    return published::text("Caption", &C::caption, &C::setCaption, "");
}

PropertyInfo color()
{
    return published::integer("Color", &C::color, &C::setColor, clWindow, &colorConstants());
}

PropertyInfo constraints()
{
    return published::object("Constraints", TSizeConstraints::staticClassInfo(), &C::constraints,
                             &C::assignConstraints);
}

PropertyInfo dragCursor()
{
    return published::integer("DragCursor", &C::dragCursor, &C::setDragCursor, crDrag, &cursorConstants());
}

PropertyInfo dragKind()
{
    return published::enumeration("DragKind", dragKindNames(), &C::dragKind, &C::setDragKind,
                                  std::optional(TDragKind::dkDrag));
}

PropertyInfo dragMode()
{
    return published::enumeration("DragMode", dragModeNames(), &C::dragMode, &C::setDragMode,
                                  std::optional(TDragMode::dmManual));
}

PropertyInfo enabled()
{
    return published::boolean("Enabled", &C::enabled, &C::setEnabled, true);
}

PropertyInfo font()
{
    // font() has a const overload; the table needs the one that gives a writable font.
    return published::object("Font", TFont::staticClassInfo(), static_cast<TFont& (C::*)()>(&C::font),
                             &C::assignFont);
}

PropertyInfo parentBiDiMode()
{
    return published::boolean("ParentBiDiMode", &C::parentBiDiMode, &C::setParentBiDiMode, true);
}

PropertyInfo parentColor()
{
    return published::boolean("ParentColor", &C::parentColor, &C::setParentColor, true);
}

PropertyInfo parentFont()
{
    return published::boolean("ParentFont", &C::parentFont, &C::setParentFont, true);
}

PropertyInfo parentShowHint()
{
    return published::boolean("ParentShowHint", &C::parentShowHint, &C::setParentShowHint, true);
}

PropertyInfo popupMenu()
{
    return published::reference("PopupMenu", TPopupMenu::staticClassInfo(), &C::popupMenu, &C::setPopupMenu);
}

PropertyInfo showHint()
{
    return published::boolean("ShowHint", &C::showHint, &C::setShowHint, std::nullopt);
}

PropertyInfo visible()
{
    return published::boolean("Visible", &C::visible, &C::setVisible, true);
}

PropertyInfo ctl3D()
{
    return published::boolean("Ctl3D", &TWinControl::ctl3D, &TWinControl::setCtl3D, std::nullopt);
}

PropertyInfo parentCtl3D()
{
    return published::boolean("ParentCtl3D", &TWinControl::parentCtl3D, &TWinControl::setParentCtl3D, true);
}

PropertyInfo tabOrder()
{
    return published::integer("TabOrder", &TWinControl::tabOrder, &TWinControl::setTabOrder, -1);
}

PropertyInfo tabStop(bool streamDefault)
{
    return published::boolean("TabStop", &TWinControl::tabStop, &TWinControl::setTabStop, streamDefault);
}

std::vector<PropertyInfo> mouseEvents()
{
    return {published::event("OnClick", &C::onClick), published::event("OnDblClick", &C::onDblClick),
            published::event("OnMouseDown", &C::onMouseDown), published::event("OnMouseMove", &C::onMouseMove),
            published::event("OnMouseUp", &C::onMouseUp)};
}

std::vector<PropertyInfo> keyEvents()
{
    using W = TWinControl;
    return {published::event("OnKeyDown", &W::onKeyDown), published::event("OnKeyPress", &W::onKeyPress),
            published::event("OnKeyUp", &W::onKeyUp)};
}

std::vector<PropertyInfo> dragEvents()
{
    return {published::event("OnDragDrop", &C::onDragDrop), published::event("OnDragOver", &C::onDragOver),
            published::event("OnEndDock", &C::onEndDock),   published::event("OnEndDrag", &C::onEndDrag),
            published::event("OnStartDock", &C::onStartDock), published::event("OnStartDrag", &C::onStartDrag)};
}

std::vector<PropertyInfo> table(std::initializer_list<std::vector<PropertyInfo>> groups)
{
    std::vector<PropertyInfo> all;
    for (const auto& group : groups) all.insert(all.end(), group.begin(), group.end());
    return all;
}

}  // namespace trovelin::controlProperties
