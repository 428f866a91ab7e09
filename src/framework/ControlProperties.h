#pragma once
// Published properties that several control classes share, with one definition each, so
// that every class table lists the same kind and stream default for them.

#include <vector>

#include "framework/Control.h"
#include "streaming/ClassInfo.h"

namespace trovelin::controlProperties {

PropertyInfo align();
// "Alignment" of the classes that keep their own (labels, panels, check boxes).
const EnumType& alignmentNames();
template <class Get, class Set> PropertyInfo alignment(Get get, Set set)
{
    return published::enumeration("Alignment", alignmentNames(), get, set, std::optional(TAlignment::taLeftJustify));
}
PropertyInfo anchors();
PropertyInfo biDiMode();
PropertyInfo caption();
PropertyInfo color();
PropertyInfo constraints();
PropertyInfo dragCursor();
PropertyInfo dragKind();
PropertyInfo dragMode();
PropertyInfo enabled();
PropertyInfo font();
PropertyInfo parentBiDiMode();
PropertyInfo parentColor();
PropertyInfo parentFont();
PropertyInfo parentShowHint();
PropertyInfo popupMenu();
PropertyInfo showHint();
PropertyInfo visible();
// Windowed controls: Ctl3D, ParentCtl3D, TabOrder and TabStop (default `tabStop`).
PropertyInfo ctl3D();
PropertyInfo parentCtl3D();
PropertyInfo tabOrder();
PropertyInfo tabStop(bool streamDefault);
// OnClick, OnDblClick, OnMouseDown, OnMouseMove, OnMouseUp
std::vector<PropertyInfo> mouseEvents();
// OnKeyDown, OnKeyPress, OnKeyUp: windowed controls only
std::vector<PropertyInfo> keyEvents();
// OnDragDrop, OnDragOver, OnEndDock, OnEndDrag, OnStartDock, OnStartDrag
std::vector<PropertyInfo> dragEvents();

// Concatenates property groups into one class table.
std::vector<PropertyInfo> table(std::initializer_list<std::vector<PropertyInfo>> groups);

}  // namespace trovelin::controlProperties
