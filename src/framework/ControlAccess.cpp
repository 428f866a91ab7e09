#include "framework/ControlAccess.h"

#include <algorithm>

#include "framework/Control.h"
#include "framework/Keys.h"
#include "framework/WinControl.h"

namespace trovelin {
namespace {

// "&Red && Blue" reads "Red & Blue": the accelerator's mark is not spoken.
std::string withoutAccelerator(const std::string& caption)
{
    std::string text;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;
        text += caption[i];
    }
    return text;
}

// A windowed control stops where the framework's Tab stops; any other where it can be worked.
bool stopsAt(const TControl& control, const ControlAccess& access)
{
    if (access.ownFocus) {
        const auto* windowed = dynamic_cast<const TWinControl*>(&control);
        return windowed != nullptr && windowed->tabStop();
    }
    return !access.values.empty() || access.press;
}

void collectStops(TWinControl& parent, const ControlDescriber& describe, std::vector<ControlStop>& stops)
{
    std::vector<TControl*> children = parent.controls();
    std::stable_sort(children.begin(), children.end(), [](const TControl* a, const TControl* b) {
        const auto* windowedA = dynamic_cast<const TWinControl*>(a);
        const auto* windowedB = dynamic_cast<const TWinControl*>(b);
        const bool orderedA = windowedA != nullptr && windowedA->tabOrder() >= 0;
        const bool orderedB = windowedB != nullptr && windowedB->tabOrder() >= 0;
        if (orderedA != orderedB) return orderedA;
        return orderedA && windowedA->tabOrder() < windowedB->tabOrder();
    });
    for (TControl* child : children) {
        if (!child->visible() || !child->enabled()) continue;
        auto* windowed = dynamic_cast<TWinControl*>(child);
        const ControlAccess access = describe(*child);
        if (stopsAt(*child, access)) {
            if (access.role == ControlRole::ValueSet)
                for (int value = 0; value < static_cast<int>(access.values.size()); ++value)
                    stops.push_back({child, value});
            else
                stops.push_back({child, -1});
        }
        if (windowed != nullptr) collectStops(*windowed, describe, stops);
    }
}

}  // namespace

std::string accessibleName(const TControl& control)
{
    std::string caption = withoutAccelerator(control.caption());
    if (!caption.empty()) return caption;
    if (!control.hint().empty()) return control.hint();
    return control.name();
}

std::vector<ControlStop> controlStops(TControl& root, const ControlDescriber& describe)
{
    std::vector<ControlStop> stops;
    if (auto* windowed = dynamic_cast<TWinControl*>(&root); windowed != nullptr && root.visible())
        collectStops(*windowed, describe, stops);
    return stops;
}

bool isControlStop(const TControl& root, const ControlStop& stop, const ControlDescriber& describe)
{
    if (stop.control == nullptr || stop.control == &root) return false;
    for (const TControl* c = stop.control; c != &root; c = c->parent())
        if (c == nullptr || !c->visible() || !c->enabled()) return false;
    const ControlAccess access = describe(*stop.control);
    if (!stopsAt(*stop.control, access)) return false;
    if (access.role == ControlRole::ValueSet)
        return stop.value >= 0 && stop.value < static_cast<int>(access.values.size());
    return stop.value < 0;
}

bool operateStop(const ControlAccess& access, int value, int key)
{
    if (access.press && value < 0 && key == VK_SPACE) {
        access.press();
        return true;
    }
    const int index = value >= 0 ? value : 0;
    if (index >= static_cast<int>(access.values.size())) return false;
    const ControlValue& held = access.values[static_cast<std::size_t>(index)];
    // Worked in 64 bits: a step from the end of a full 32-bit range must not wrap round.
    const std::int64_t now = held.get();
    std::int64_t wanted = 0;
    switch (key) {
    case VK_UP:
    case VK_RIGHT: wanted = now + held.step; break;
    case VK_DOWN:
    case VK_LEFT: wanted = now - held.step; break;
    case VK_PRIOR: wanted = now + held.page; break;
    case VK_NEXT: wanted = now - held.page; break;
    case VK_HOME: wanted = held.min; break;
    case VK_END: wanted = held.max; break;
    default: return false;
    }
    held.set(static_cast<std::int32_t>(std::clamp<std::int64_t>(wanted, held.min, held.max)));
    return true;
}

}  // namespace trovelin
