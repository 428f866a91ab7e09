#include "widgets/ControlHostAccessible.h"

#include <algorithm>
#include <cmath>

#include "framework/Keys.h"
#include "framework/WinControl.h"
#include "widgets/ControlHostWidget.h"

namespace trovelin {
namespace {

QString textOf(const std::string& text) { return QString::fromStdString(text); }

bool isValueSet(const ControlAccess& access) { return access.role == ControlRole::ValueSet; }

// What `parent` holds: the values of a control of several, else the visible controls inside it
// (the hosted root's for no control).
std::vector<ControlStop> partsOf(ControlHostWidget& host, const ControlStop& parent)
{
    std::vector<ControlStop> parts;
    TControl* control = parent.control != nullptr ? parent.control : &host.control();
    if (parent.value >= 0) return parts;
    if (parent.control != nullptr) {
        const ControlAccess access = host.describer()(*control);
        if (isValueSet(access)) {
            for (int value = 0; value < static_cast<int>(access.values.size()); ++value)
                parts.push_back({control, value});
            return parts;
        }
    }
    if (const auto* windowed = dynamic_cast<const TWinControl*>(control))
        for (TControl* child : windowed->controls())
            if (child->visible()) parts.push_back({child, -1});
    return parts;
}

QRect screenRect(const ControlHostWidget& host, const TControl& control)
{
    const QRect local = host.shownArea(control).toRect();
    return QRect(host.mapToGlobal(local.topLeft()), local.size());
}

}  // namespace

AccessibleControlHost::AccessibleControlHost(ControlHostWidget* host) : QAccessibleWidget(host, QAccessible::Pane) {}

AccessibleControlHost::~AccessibleControlHost()
{
    for (const auto& [stop, id] : items_) QAccessible::deleteAccessibleInterface(id);
}

ControlHostWidget& AccessibleControlHost::host() const { return *static_cast<ControlHostWidget*>(widget()); }

QAccessibleInterface* AccessibleControlHost::itemOf(const ControlStop& stop) const
{
    if (stop.control == nullptr) return const_cast<AccessibleControlHost*>(this);
    if (!isValid() || !host().shows(stop.control) || stop.control == &host().control()) return nullptr;
    return itemShown(stop);
}

QAccessibleInterface* AccessibleControlHost::itemShown(const ControlStop& stop) const
{
    const std::pair<const TControl*, int> key(stop.control, stop.value);
    if (const auto found = items_.find(key); found != items_.end()) {
        QAccessibleInterface* item = QAccessible::accessibleInterface(found->second);
        if (item != nullptr) return item;
    }
    auto* item = new AccessibleControl(*this, stop.control, stop.value);
    items_[key] = QAccessible::registerAccessibleInterface(item);
    return item;
}

QList<QAccessibleInterface*> AccessibleControlHost::childrenOf(const ControlStop& parent) const
{
    QList<QAccessibleInterface*> children;
    if (!isValid() || !host().describer()) return children;
    for (const ControlStop& part : partsOf(host(), parent)) children << itemShown(part);
    return children;
}

int AccessibleControlHost::childCountOf(const ControlStop& parent) const
{
    if (!isValid() || !host().describer()) return 0;
    return static_cast<int>(partsOf(host(), parent).size());
}

QAccessibleInterface* AccessibleControlHost::childOf(const ControlStop& parent, int index) const
{
    if (!isValid() || !host().describer() || index < 0) return nullptr;
    const std::vector<ControlStop> parts = partsOf(host(), parent);
    return index < static_cast<int>(parts.size()) ? itemShown(parts[static_cast<std::size_t>(index)]) : nullptr;
}

int AccessibleControlHost::indexOfChildOf(const ControlStop& parent, const QAccessibleInterface* child) const
{
    const auto* item = dynamic_cast<const AccessibleControl*>(child);
    if (item == nullptr || &item->host() != this || !isValid() || !host().describer()) return -1;
    const std::vector<ControlStop> parts = partsOf(host(), parent);
    const auto found = std::find(parts.begin(), parts.end(), item->stop());
    return found != parts.end() ? static_cast<int>(found - parts.begin()) : -1;
}

QAccessibleInterface* AccessibleControlHost::childAtOf(const ControlStop& parent, int x, int y) const
{
    // Later controls are painted over earlier ones; the background comes first and covers all.
    const QList<QAccessibleInterface*> children = childrenOf(parent);
    for (auto child = children.rbegin(); child != children.rend(); ++child)
        if ((*child)->rect().contains(x, y)) return *child;
    return nullptr;
}

QString AccessibleControlHost::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && isValid()) {
        const std::string name = accessibleName(host().control());
        return name.empty() ? QStringLiteral("Panel") : textOf(name);
    }
    return QAccessibleWidget::text(t);
}

int AccessibleControlHost::childCount() const { return childCountOf({}); }

QAccessibleInterface* AccessibleControlHost::child(int index) const { return childOf({}, index); }

int AccessibleControlHost::indexOfChild(const QAccessibleInterface* child) const { return indexOfChildOf({}, child); }

QAccessibleInterface* AccessibleControlHost::childAt(int x, int y) const { return childAtOf({}, x, y); }

QAccessibleInterface* AccessibleControlHost::focusChild() const
{
    if (!isValid() || !host().hasFocus()) return nullptr;
    const std::optional<ControlStop> stop = host().currentStop();
    return stop ? itemOf(*stop) : nullptr;
}

AccessibleControl::AccessibleControl(const AccessibleControlHost& host, TControl* control, int value)
    : host_(host), control_(control), value_(value)
{
}

bool AccessibleControl::isValid() const { return host_.isValid() && host_.host().shows(control_); }

ControlAccess AccessibleControl::access() const { return host_.host().describer()(*control_); }

const ControlValue* AccessibleControl::heldValue(const ControlAccess& access) const
{
    const int index = value_ >= 0 ? value_ : isValueSet(access) ? -1 : 0;
    if (index < 0 || index >= static_cast<int>(access.values.size())) return nullptr;
    return &access.values[static_cast<std::size_t>(index)];
}

QWindow* AccessibleControl::window() const { return host_.window(); }

QAccessibleInterface* AccessibleControl::parent() const
{
    if (!isValid()) return nullptr;
    if (value_ >= 0) return host_.itemOf({control_, -1});
    if (control_->parent() == nullptr || control_->parent() == &host_.host().control())
        return const_cast<AccessibleControlHost*>(&host_);
    return host_.itemOf({control_->parent(), -1});
}

QAccessibleInterface* AccessibleControl::child(int index) const
{
    return isValid() ? host_.childOf(stop(), index) : nullptr;
}

int AccessibleControl::childCount() const { return isValid() ? host_.childCountOf(stop()) : 0; }

int AccessibleControl::indexOfChild(const QAccessibleInterface* child) const
{
    return isValid() ? host_.indexOfChildOf(stop(), child) : -1;
}

QAccessibleInterface* AccessibleControl::childAt(int x, int y) const
{
    return isValid() ? host_.childAtOf(stop(), x, y) : nullptr;
}

QString AccessibleControl::text(QAccessible::Text t) const
{
    if (!isValid()) return {};
    const ControlAccess described = access();
    switch (t) {
    case QAccessible::Name:
        return value_ >= 0 ? textOf(described.values[static_cast<std::size_t>(value_)].name) : textOf(described.name);
    case QAccessible::Description:
        // The record's name, where the name read is a caption or a hint.
        return value_ < 0 && textOf(control_->name()) != textOf(described.name) ? textOf(control_->name()) : QString();
    case QAccessible::Value: {
        if (const ControlValue* held = heldValue(described)) return QString::number(held->get());
        QStringList values;
        for (const ControlValue& value : described.values) values << QString::number(value.get());
        return values.join(", ");
    }
    default: return {};
    }
}

QRect AccessibleControl::rect() const { return isValid() ? screenRect(host_.host(), *control_) : QRect(); }

QAccessible::Role AccessibleControl::role() const
{
    if (!isValid()) return QAccessible::NoRole;
    if (value_ >= 0) return QAccessible::Slider;
    switch (access().role) {
    case ControlRole::Grouping:
    case ControlRole::ValueSet: return QAccessible::Grouping;
    case ControlRole::Label: return QAccessible::StaticText;
    case ControlRole::Picture: return QAccessible::Graphic;
    case ControlRole::Slider: return QAccessible::Slider;
    case ControlRole::Dial: return QAccessible::Dial;
    case ControlRole::PushButton:
    case ControlRole::ToggleButton: return QAccessible::Button;
    case ControlRole::CheckBox: return QAccessible::CheckBox;
    case ControlRole::RadioButton: return QAccessible::RadioButton;
    case ControlRole::Other: break;
    }
    return QAccessible::Client;
}

QAccessible::State AccessibleControl::state() const
{
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    ControlHostWidget& host = host_.host();
    state.focusable = isControlStop(host.control(), stop(), host.describer());
    state.focused = state.focusable && host.hasFocus() && host.currentStop() == stop();
    bool enabled = true;
    bool visible = host.isVisible();
    for (const TControl* c = control_; c != nullptr && c != &host.control(); c = c->parent()) {
        enabled = enabled && c->enabled();
        visible = visible && c->visible();
    }
    state.disabled = !enabled;
    state.invisible = !visible;
    const ControlAccess described = access();
    if (described.checked && value_ < 0) {
        state.checkable = true;
        state.checked = described.checked();
        // What desktops read of a toggle button that is down.
        state.pressed = state.checked && described.role == ControlRole::ToggleButton;
    }
    return state;
}

void* AccessibleControl::interface_cast(QAccessible::InterfaceType type)
{
    if (!isValid()) return nullptr;
    const ControlAccess described = access();
    if (type == QAccessible::ValueInterface && heldValue(described) != nullptr)
        return static_cast<QAccessibleValueInterface*>(this);
    const bool acts = heldValue(described) != nullptr || described.press || state().focusable;
    if (type == QAccessible::ActionInterface && acts)
        return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
}

QVariant AccessibleControl::currentValue() const
{
    if (!isValid()) return {};
    const ControlAccess described = access();
    const ControlValue* held = heldValue(described);
    return held != nullptr ? QVariant(held->get()) : QVariant();
}

void AccessibleControl::setCurrentValue(const QVariant& value)
{
    if (!isValid() || !control_->enabled()) return;
    const ControlAccess described = access();
    const ControlValue* held = heldValue(described);
    bool ok = false;
    const double wanted = value.toDouble(&ok);
    // A screen reader may send any double; not a number sets nothing rather than the minimum.
    if (held == nullptr || !ok || std::isnan(wanted)) return;
    held->set(static_cast<std::int32_t>(std::clamp<double>(std::round(wanted), held->min, held->max)));
}

QVariant AccessibleControl::maximumValue() const
{
    if (!isValid()) return {};
    const ControlAccess described = access();
    const ControlValue* held = heldValue(described);
    return held != nullptr ? QVariant(held->max) : QVariant();
}

QVariant AccessibleControl::minimumValue() const
{
    if (!isValid()) return {};
    const ControlAccess described = access();
    const ControlValue* held = heldValue(described);
    return held != nullptr ? QVariant(held->min) : QVariant();
}

QVariant AccessibleControl::minimumStepSize() const
{
    if (!isValid()) return {};
    const ControlAccess described = access();
    const ControlValue* held = heldValue(described);
    return held != nullptr ? QVariant(held->step) : QVariant();
}

QStringList AccessibleControl::actionNames() const
{
    if (!isValid()) return {};
    const ControlAccess described = access();
    QStringList names;
    if (described.press && value_ < 0) names << pressAction();
    if (heldValue(described) != nullptr) names << increaseAction() << decreaseAction();
    if (state().focusable) names << setFocusAction();
    return names;
}

void AccessibleControl::doAction(const QString& actionName)
{
    if (!isValid()) return;
    ControlHostWidget& host = host_.host();
    if (actionName == setFocusAction()) {
        host.focusStop(stop());
        return;
    }
    if (!control_->enabled()) return;
    const ControlAccess described = access();
    if (actionName == pressAction())
        operateStop(described, -1, VK_SPACE);
    else if (actionName == increaseAction())
        operateStop(described, value_, VK_UP);
    else if (actionName == decreaseAction())
        operateStop(described, value_, VK_DOWN);
}

QStringList AccessibleControl::keyBindingsForAction(const QString& actionName) const
{
    if (actionName == pressAction()) return {QStringLiteral("Space")};
    if (actionName == increaseAction()) return {QStringLiteral("Up")};
    if (actionName == decreaseAction()) return {QStringLiteral("Down")};
    return {};
}

void announceFocus(ControlHostWidget& host, const ControlStop& stop)
{
    if (!QAccessible::isActive()) return;
    auto* panel = dynamic_cast<AccessibleControlHost*>(QAccessible::queryAccessibleInterface(&host));
    if (panel == nullptr) return;
    if (QAccessibleInterface* item = panel->itemOf(stop)) {
        QAccessibleEvent event(item, QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
    }
}

void announceValues(ControlHostWidget& host, TControl& control)
{
    auto* panel = dynamic_cast<AccessibleControlHost*>(QAccessible::queryAccessibleInterface(&host));
    if (panel == nullptr || !host.describer()) return;
    const ControlAccess access = host.describer()(control);
    std::vector<std::int32_t> now;
    for (const ControlValue& value : access.values) now.push_back(value.get());
    if (access.checked) now.push_back(access.checked() ? 1 : 0);
    std::vector<std::int32_t>& told = panel->toldValues()[&control];
    if (told == now) return;
    for (std::size_t i = 0; i < access.values.size(); ++i) {
        if (i < told.size() && told[i] == now[i]) continue;
        const ControlStop stop{&control, isValueSet(access) ? static_cast<int>(i) : -1};
        if (QAccessibleInterface* item = panel->itemOf(stop)) {
            QAccessibleValueChangeEvent event(item, now[i]);
            QAccessible::updateAccessibility(&event);
        }
    }
    if (access.checked && (told.size() != now.size() || told.back() != now.back())) {
        if (QAccessibleInterface* item = panel->itemOf({&control, -1})) {
            QAccessible::State changed;
            changed.checked = true;
            QAccessibleStateChangeEvent event(item, changed);
            QAccessible::updateAccessibility(&event);
        }
    }
    told = std::move(now);
}

}  // namespace trovelin
