#pragma once
// What each class of the panels and of the skinned widgets is to someone who works it from the
// keyboard or through a screen reader: its role, its values and how a key or a screen reader's
// action works it, in the terms of the control's own input.

#include "framework/ControlAccess.h"

namespace trovelin {

ControlAccess describePanelControl(TControl& control);

}  // namespace trovelin
