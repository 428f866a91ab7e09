#include "widgets/ControlHostWidget.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>

#include "framework/Canvas.h"

namespace trovelin {
namespace {

std::optional<TMouseButton> toMouseButton(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return TMouseButton::mbLeft;
    case Qt::RightButton: return TMouseButton::mbRight;
    case Qt::MiddleButton: return TMouseButton::mbMiddle;
    default: return std::nullopt;
    }
}

// Qt gives fractional positions on scaled screens; the control works in whole pixels, and
// positions left of or above the control must stay negative rather than round to 0.
int wholePixel(qreal value)
{
    return static_cast<int>(std::floor(value));
}

}  // namespace

ControlHostWidget::ControlHostWidget(TControl& control, QWidget* parent) : QWidget(parent), control_(control)
{
    control_.setHost(this);
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover, false);
    followControlSize();
}

ControlHostWidget::~ControlHostWidget()
{
    if (control_.host() == this) control_.setHost(nullptr);
}

void ControlHostWidget::followControlSize()
{
    setFixedSize(std::max(control_.width(), 0), std::max(control_.height(), 0));
}

void ControlHostWidget::invalidateControl(TControl&)
{
    update();
}

void ControlHostWidget::repaintControl(TControl&)
{
    repaint();
}

TShiftState ControlHostWidget::shiftState(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons)
{
    TShiftState shift = 0;
    if (modifiers & Qt::ShiftModifier) shift |= ssShift;
    if (modifiers & Qt::AltModifier) shift |= ssAlt;
    if (modifiers & Qt::ControlModifier) shift |= ssCtrl;
    if (buttons & Qt::LeftButton) shift |= ssLeft;
    if (buttons & Qt::RightButton) shift |= ssRight;
    if (buttons & Qt::MiddleButton) shift |= ssMiddle;
    return shift;
}

void ControlHostWidget::paintEvent(QPaintEvent*)
{
    if (!control_.visible()) return;
    QPainter painter(this);
    TCanvas canvas(painter);
    control_.paint(canvas);
}

void ControlHostWidget::press(QMouseEvent* event, TShiftState extra)
{
    const auto button = toMouseButton(event->button());
    if (!button || !control_.enabled()) return;
    const QPointF at = event->position();
    control_.mouseDown(*button, shiftState(event->modifiers(), event->buttons()) | extra, wholePixel(at.x()),
                       wholePixel(at.y()));
}

void ControlHostWidget::mousePressEvent(QMouseEvent* event)
{
    press(event, 0);
}

// The second press of a double click comes as a press marked ssDouble, as on the original
// platform; the click itself still comes from the release.
void ControlHostWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    press(event, ssDouble);
}

void ControlHostWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (!control_.enabled()) return;
    const QPointF at = event->position();
    control_.mouseMove(shiftState(event->modifiers(), event->buttons()), wholePixel(at.x()), wholePixel(at.y()));
}

void ControlHostWidget::mouseReleaseEvent(QMouseEvent* event)
{
    const auto button = toMouseButton(event->button());
    if (!button || !control_.enabled()) return;
    const QPointF at = event->position();
    control_.mouseUp(*button, shiftState(event->modifiers(), event->buttons()), wholePixel(at.x()),
                     wholePixel(at.y()));
}

void ControlHostWidget::enterEvent(QEnterEvent*)
{
    control_.mouseEnter();
}

void ControlHostWidget::leaveEvent(QEvent*)
{
    control_.mouseLeave();
}

}  // namespace trovelin
