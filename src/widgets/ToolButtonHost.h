#pragma once
// A host for a tool strip's graphic button that keyboard and assistive technology can use too:
// it takes the focus by Tab and shows it with a dotted frame, Space or Enter press the button,
// and Alt+Down, F4 or the menu key open the button's menu when it has one. The button's name is
// the widget's accessible name.

#include <functional>

#include <QAccessibleWidget>

#include "widgets/ControlHostWidget.h"

namespace trovelin {

class ToolButtonHost : public ControlHostWidget {
public:
    ToolButtonHost(TControl& button, const QString& name, QWidget* parent = nullptr,
                   ControlServices* services = nullptr);

    // What a click on the button does.
    void press() { control().click(); }
    // Opens the button's menu; unset for a button without one.
    std::function<void()> openMenu;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;
};

// How assistive technology sees the button: a push button with its name, pressed by its "Press"
// action, and with a menu by "ShowMenu".
class AccessibleToolButton : public QAccessibleWidget {
public:
    explicit AccessibleToolButton(ToolButtonHost* host);

    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

private:
    ToolButtonHost* host() const { return static_cast<ToolButtonHost*>(widget()); }
};

}  // namespace trovelin
