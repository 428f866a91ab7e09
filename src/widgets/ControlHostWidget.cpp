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

ControlHostWidget::ControlHostWidget(TControl& control, QWidget* parent, ControlServices* services)
    : QWidget(parent), control_(control), services_(services)
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
    surfaceStale_ = true;
    update();
}

void ControlHostWidget::repaintControl(TControl&)
{
    surfaceStale_ = true;
    repaint();
}

void ControlHostWidget::drawOnControl(TControl& control, const std::function<void(TCanvas&)>& draw)
{
    if (!control_.visible()) return;
    if (surfaceStale_ || surface_.size() != size()) paintSurface();
    {
        QPainter painter(&surface_);
        const TPoint offset = control.offsetWithin(control_);
        painter.translate(offset.x, offset.y);
        TCanvas canvas(painter);
        draw(canvas);
    }
    update();
}

TPoint ControlHostWidget::clientToScreen(const TControl& control, TPoint point) const
{
    const TPoint offset = control.offsetWithin(control_);
    const QPoint screen = mapToGlobal(QPoint(point.x + offset.x, point.y + offset.y));
    return {screen.x(), screen.y()};
}

void ControlHostWidget::paintSurface()
{
    surface_ = QImage(size(), QImage::Format_ARGB32_Premultiplied);
    surface_.fill(Qt::transparent);
    surfaceStale_ = false;
    TCanvas canvas(surface_);
    control_.paint(canvas);
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
    if (surfaceStale_ || surface_.size() != size()) paintSurface();
    QPainter(this).drawImage(0, 0, surface_);
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
