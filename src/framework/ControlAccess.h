#pragma once
// How a control offers itself to someone who works it without the mouse: from the keyboard or
// through a screen reader. A description says what the control is, what it is called and which
// values it holds, and operates it as the user's hand would (limited to its range, raising the
// control's change event). Hosts ask for descriptions as they need them, through a describer
// that knows the classes; the controls themselves know nothing of it.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace trovelin {

class TControl;

enum class ControlRole {
    Other,
    Grouping,  // a panel or group box: what it contains is what counts
    Label,
    Picture,
    Slider,
    Dial,
    PushButton,
    ToggleButton,
    CheckBox,
    RadioButton,
    // A control of several values (the XY field, the colour mixer): each value is its own slider.
    ValueSet,
};

struct ControlValue {
    std::string name;  // for the values of a ValueSet: "X", "Cyan"...
    std::int32_t min = 0;
    std::int32_t max = 0;
    std::int32_t step = 1;
    std::int32_t page = 1;
    std::function<std::int32_t()> get;
    // Sets the value as a drag would, limited to min..max; raises the change event when the
    // value changed.
    std::function<void(std::int32_t)> set;
};

struct ControlAccess {
    ControlRole role = ControlRole::Other;
    std::string name;
    std::vector<ControlValue> values;
    // Buttons: a click as the left button gives it, press and release.
    std::function<void()> press;
    // Toggle buttons, check boxes and radio buttons.
    std::function<bool()> checked;
    // Windowed controls take the framework's own focus, and their keys through it.
    bool ownFocus = false;
};

using ControlDescriber = std::function<ControlAccess(TControl&)>;

// Where Tab stops: a control, or one value of a ValueSet.
struct ControlStop {
    TControl* control = nullptr;
    int value = -1;  // -1 for the control itself
    bool operator==(const ControlStop&) const = default;
};

// The name a screen reader gives a control: its caption, else its hint, else its name.
std::string accessibleName(const TControl& control);
// The stops under `root` in the order Tab visits them: within each parent the windowed controls
// with a TabOrder first, in that order, then the others in the order they came; parents before
// their children. Only visible, enabled controls stop: a control of the framework's own focus
// while it is a tab stop, any other when it can be worked.
std::vector<ControlStop> controlStops(TControl& root, const ControlDescriber& describe);
// Whether Tab stops at `stop` under `root`, without walking the whole tree.
bool isControlStop(const TControl& root, const ControlStop& stop, const ControlDescriber& describe);
// Works a stop by one of the keys of ControlInput's codes: arrows, Page Up/Down, Home/End on a
// value, Space on a button. False for a key the stop does not use.
bool operateStop(const ControlAccess& access, int value, int key);

}  // namespace trovelin
