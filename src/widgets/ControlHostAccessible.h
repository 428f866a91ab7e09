#pragma once
// How assistive technology sees a panel that a ControlHostWidget shows: every control is an
// object of its own, with the role, name, state, values and actions that its description gives;
// panels and group boxes contain their controls, a control of several values (the XY field, the
// colour mixer) one slider for each. The objects are made as they are asked for and live as long
// as the host's own; a control that has gone answers as invalid.

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include <QAccessibleWidget>

#include "framework/ControlAccess.h"

namespace trovelin {

class ControlHostWidget;

class AccessibleControlHost : public QAccessibleWidget {
public:
    explicit AccessibleControlHost(ControlHostWidget* host);
    ~AccessibleControlHost() override;

    ControlHostWidget& host() const;
    // The object of a control (value -1) or of one of its values; null for a control not shown.
    QAccessibleInterface* itemOf(const ControlStop& stop) const;
    // The objects of what `parent` contains: its visible controls, or its values. A screen
    // reader asks for them one by one, so one of them costs no more than the list of stops.
    QList<QAccessibleInterface*> childrenOf(const ControlStop& parent) const;
    int childCountOf(const ControlStop& parent) const;
    QAccessibleInterface* childOf(const ControlStop& parent, int index) const;
    int indexOfChildOf(const ControlStop& parent, const QAccessibleInterface* child) const;
    // The child of `parent` at a point of the screen: the topmost, as the mouse finds it.
    QAccessibleInterface* childAtOf(const ControlStop& parent, int x, int y) const;

    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // The values last told, by control, so that only changes are told again.
    std::map<const TControl*, std::vector<std::int32_t>>& toldValues() const { return told_; }

private:
    // The object of a stop just found in the hosted tree.
    QAccessibleInterface* itemShown(const ControlStop& stop) const;

    mutable std::map<std::pair<const TControl*, int>, QAccessible::Id> items_;
    mutable std::map<const TControl*, std::vector<std::int32_t>> told_;
};

class AccessibleControl : public QAccessibleInterface, public QAccessibleValueInterface,
                          public QAccessibleActionInterface {
public:
    AccessibleControl(const AccessibleControlHost& host, TControl* control, int value);

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleValueInterface
    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

    // QAccessibleActionInterface: the keys' work, for a screen reader's actions.
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

    ControlStop stop() const { return {control_, value_}; }
    const AccessibleControlHost& host() const { return host_; }

private:
    ControlAccess access() const;
    // The value this object stands for: its own, or the control's only one; null for none.
    const ControlValue* heldValue(const ControlAccess& access) const;

    const AccessibleControlHost& host_;
    TControl* control_;
    int value_;
};

// Tells assistive technology that `stop` has the keyboard.
void announceFocus(ControlHostWidget& host, const ControlStop& stop);
// Tells assistive technology of the values (and checked states) of `control` that changed.
void announceValues(ControlHostWidget& host, TControl& control);

}  // namespace trovelin
