#include "gallery/PanelControlAccess.h"

#include <algorithm>

#include "framework/Image.h"
#include "framework/Label.h"
#include "framework/SpeedButton.h"
#include "framework/WinControl.h"
#include "panelctl/Cbtc.h"
#include "panelctl/Cmy.h"
#include "panelctl/Fader.h"
#include "panelctl/Fieldxym.h"
#include "panelctl/KnobControl.h"
#include "skin/Wblinkbutton.h"
#include "skin/Wcbtc.h"
#include "skin/Wcheckbox.h"
#include "skin/Wradiobutton.h"
#include "skin/Wscrollbar.h"
#include "skin/Wtracker.h"

namespace trovelin {
namespace {

// A Page key moves a sixteenth of the range: 16 steps of a 0..255 channel.
std::int32_t pageOf(std::int32_t min, std::int32_t max)
{
    return static_cast<std::int32_t>(std::max<std::int64_t>(1, (static_cast<std::int64_t>(max) - min) / 16));
}

// The control's own setter, which limits the value, followed by the change event that its mouse
// input raises; the setters leave that event to the user's input.
template <class Control, class Get, class Set>
ControlValue valueOf(Control& control, std::string name, std::int32_t min, std::int32_t max, Get get, Set set)
{
    ControlValue value;
    value.name = std::move(name);
    value.min = min;
    value.max = std::max(min, max);
    value.page = pageOf(value.min, value.max);
    value.get = [&control, get] { return static_cast<std::int32_t>(get(control)); };
    value.set = [&control, get, set](std::int32_t wanted) {
        const auto before = get(control);
        set(control, wanted);
        if (get(control) != before && control.onChangeHandler) control.onChangeHandler(control);
    };
    return value;
}

// A left click in the middle of the control, as the mouse gives it: pressed, then released.
std::function<void()> clickOf(TControl& control)
{
    return [&control] {
        const int x = control.width() / 2, y = control.height() / 2;
        control.mouseDown(TMouseButton::mbLeft, ssLeft, x, y);
        control.mouseUp(TMouseButton::mbLeft, 0, x, y);
    };
}

template <class Button>
std::function<bool()> downOf(Button& button)
{
    return [&button] { return button.down(); };
}

void describeButton(TControl& control, ControlAccess& access)
{
    access.press = clickOf(control);
    if (auto* speed = dynamic_cast<TSpeedButton*>(&control)) {
        // Only a button of a group latches down.
        access.role = speed->groupIndex() != 0 ? ControlRole::ToggleButton : ControlRole::PushButton;
        if (speed->groupIndex() != 0) access.checked = downOf(*speed);
    } else if (auto* toggle = dynamic_cast<TCBTC*>(&control)) {
        access.role = ControlRole::ToggleButton;
        access.checked = downOf(*toggle);
    } else if (auto* blink = dynamic_cast<TWBlinkButton*>(&control)) {
        access.role = ControlRole::ToggleButton;
        access.checked = downOf(*blink);
    } else {
        access.role = ControlRole::PushButton;
    }
}

// What a screen reader calls a control that has no caption, hint or name of its own.
const char* kindName(ControlRole role)
{
    switch (role) {
    case ControlRole::Grouping: return "Group";
    case ControlRole::Label: return "Label";
    case ControlRole::Picture: return "Image";
    case ControlRole::Slider: return "Fader";
    case ControlRole::Dial: return "Knob";
    case ControlRole::PushButton:
    case ControlRole::ToggleButton: return "Button";
    case ControlRole::CheckBox: return "Check box";
    case ControlRole::RadioButton: return "Radio button";
    case ControlRole::ValueSet: return "Values";
    case ControlRole::Other: break;
    }
    return "Control";
}

}  // namespace

ControlAccess describePanelControl(TControl& control)
{
    ControlAccess access;
    access.name = accessibleName(control);
    const auto position = [](auto& c) { return c.position(); };
    const auto setPosition = [](auto& c, std::int32_t value) { c.setPosition(value); };
    if (auto* fader = dynamic_cast<TFader*>(&control)) {
        access.role = ControlRole::Slider;
        access.values = {valueOf(*fader, "", fader->min(), fader->max(), position, setPosition)};
    } else if (auto* tracker = dynamic_cast<TWTracker*>(&control)) {
        access.role = ControlRole::Slider;
        access.values = {valueOf(*tracker, "", tracker->min(), tracker->max(), position, setPosition)};
    } else if (auto* knob = dynamic_cast<KnobControl*>(&control)) {
        access.role = ControlRole::Dial;
        access.values = {valueOf(*knob, "", knob->min(), knob->max(), position, setPosition)};
    } else if (auto* bar = dynamic_cast<TWScrollBar*>(&control)) {
        access.role = ControlRole::Slider;
        ControlValue value = valueOf(*bar, "", bar->min(), bar->max(), position, setPosition);
        value.step = bar->smallChange();
        value.page = bar->largeChange();
        access.values = {value};
    } else if (auto* field = dynamic_cast<TFieldXY*>(&control)) {
        access.role = ControlRole::ValueSet;
        if (access.name.empty()) access.name = "XY field";
        access.values = {
            valueOf(*field, "X", 0, 255, [](TFieldXY& f) { return f.getX(); }, [](TFieldXY& f, int v) { f.setX(v); }),
            valueOf(*field, "Y", 0, 255, [](TFieldXY& f) { return f.getY(); }, [](TFieldXY& f, int v) { f.setY(v); })};
    } else if (auto* mixer = dynamic_cast<TCMY*>(&control)) {
        access.role = ControlRole::ValueSet;
        if (access.name.empty()) access.name = "Colour mixer";
        const bool rgb = mixer->rgbSet();
        access.values = {valueOf(*mixer, rgb ? "Red" : "Cyan", 0, 255, [](TCMY& m) { return m.cyan(); },
                                 [](TCMY& m, int v) { m.SetCyan(static_cast<std::uint8_t>(v)); }),
                         valueOf(*mixer, rgb ? "Green" : "Magenta", 0, 255, [](TCMY& m) { return m.magenta(); },
                                 [](TCMY& m, int v) { m.SetMagenta(static_cast<std::uint8_t>(v)); }),
                         valueOf(*mixer, rgb ? "Blue" : "Yellow", 0, 255, [](TCMY& m) { return m.yellow(); },
                                 [](TCMY& m, int v) { m.SetYellow(static_cast<std::uint8_t>(v)); })};
    } else if (auto* box = dynamic_cast<TWCheckBox*>(&control)) {
        access.role = ControlRole::CheckBox;
        access.checked = [box] { return box->state() == TCheckBoxState::cbChecked; };
        access.press = [box] { box->click(); };
    } else if (auto* radio = dynamic_cast<TWRadioButton*>(&control)) {
        access.role = ControlRole::RadioButton;
        access.checked = [radio] { return radio->checked(); };
        access.press = [radio] { radio->click(); };
    } else if (dynamic_cast<TSpeedButton*>(&control) != nullptr || dynamic_cast<TCBTC*>(&control) != nullptr ||
               dynamic_cast<TWCBTC*>(&control) != nullptr || dynamic_cast<TWBlinkButton*>(&control) != nullptr) {
        describeButton(control, access);
    } else if (dynamic_cast<TLabel*>(&control) != nullptr) {
        access.role = ControlRole::Label;
    } else if (dynamic_cast<TImage*>(&control) != nullptr) {
        access.role = ControlRole::Picture;
    } else if (dynamic_cast<TWinControl*>(&control) != nullptr) {
        access.role = ControlRole::Grouping;
    }
    access.ownFocus = dynamic_cast<TWinControl*>(&control) != nullptr;
    if (access.name.empty()) access.name = kindName(access.role);
    return access;
}

}  // namespace trovelin
