#include "widgets/ToolButtonHost.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QPainter>

namespace trovelin {

ToolButtonHost::ToolButtonHost(TControl& button, const QString& name, QWidget* parent, ControlServices* services)
    : ControlHostWidget(button, parent, services)
{
    // Tab reaches it; a click leaves the focus where it was, as the original's button did.
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(name);
    setToolTip(name);
}

void ToolButtonHost::paintEvent(QPaintEvent* event)
{
    ControlHostWidget::paintEvent(event);
    if (!hasFocus()) return;
    QPainter painter(this);
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(2, 2, -3, -3));
}

void ToolButtonHost::keyPressEvent(QKeyEvent* event)
{
    const bool menuKey = event->key() == Qt::Key_F4 ||
                         (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier));
    if (menuKey && openMenu) {
        openMenu();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!event->isAutoRepeat()) press();
        return;
    default: ControlHostWidget::keyPressEvent(event);
    }
}

void ToolButtonHost::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return;
    ControlHostWidget::keyReleaseEvent(event);
}

void ToolButtonHost::contextMenuEvent(QContextMenuEvent* event)
{
    if (event->reason() == QContextMenuEvent::Keyboard && openMenu) openMenu();
}

void ToolButtonHost::focusInEvent(QFocusEvent* event)
{
    ControlHostWidget::focusInEvent(event);
    update();
}

void ToolButtonHost::focusOutEvent(QFocusEvent* event)
{
    ControlHostWidget::focusOutEvent(event);
    update();
}

// Unlike a host of windowed controls, Tab leaves the button for the next widget.
bool ToolButtonHost::focusNextPrevChild(bool next)
{
    return QWidget::focusNextPrevChild(next);
}

AccessibleToolButton::AccessibleToolButton(ToolButtonHost* host) : QAccessibleWidget(host, QAccessible::Button) {}

QAccessible::State AccessibleToolButton::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.hasPopup = static_cast<bool>(host()->openMenu);
    return state;
}

QStringList AccessibleToolButton::actionNames() const
{
    QStringList names{pressAction()};
    if (host()->openMenu) names << showMenuAction();
    return names + QAccessibleWidget::actionNames();
}

void AccessibleToolButton::doAction(const QString& actionName)
{
    if (actionName == pressAction())
        host()->press();
    else if (actionName == showMenuAction() && host()->openMenu)
        host()->openMenu();
    else
        QAccessibleWidget::doAction(actionName);
}

QStringList AccessibleToolButton::keyBindingsForAction(const QString& actionName) const
{
    if (actionName == pressAction()) return {QStringLiteral("Space")};
    if (actionName == showMenuAction()) return {QStringLiteral("Alt+Down")};
    return QAccessibleWidget::keyBindingsForAction(actionName);
}

}  // namespace trovelin
