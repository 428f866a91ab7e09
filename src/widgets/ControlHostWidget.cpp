#include "widgets/ControlHostWidget.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>

#include "framework/Canvas.h"
#include "framework/Keys.h"
#include "framework/PaintTree.h"
#include "framework/WinControl.h"

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

TPoint wholePoint(QPointF point)
{
    return {wholePixel(point.x()), wholePixel(point.y())};
}

bool visibleWithParents(const TControl& control, const TControl& root)
{
    for (const TControl* c = &control; c != nullptr; c = c == &root ? nullptr : c->parent())
        if (!c->visible()) return false;
    return true;
}

}  // namespace

ControlHostWidget::ControlHostWidget(TControl& control, QWidget* parent, ControlServices* services)
    : QWidget(parent), control_(control), services_(services), input_(control)
{
    control_.setHost(this);
    setMouseTracking(true);
    // Only windowed controls take the keyboard focus; a host of graphic controls never needs keys.
    if (dynamic_cast<TWinControl*>(&control_) != nullptr) setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover, false);
    followControlSize();
}

ControlHostWidget::~ControlHostWidget()
{
    endDrags();
    if (control_.host() == this) control_.setHost(nullptr);
}

void ControlHostWidget::followControlSize()
{
    setFixedSize(static_cast<int>(std::lround(std::max(control_.width(), 0) * zoom_)),
                 static_cast<int>(std::lround(std::max(control_.height(), 0) * zoom_)));
}

void ControlHostWidget::setZoom(double zoom)
{
    if (!(zoom > 0) || zoom == zoom_) return;
    zoom_ = zoom;
    followControlSize();
    update();
}

void ControlHostWidget::setOpaque()
{
    surfaceFormat_ = QImage::Format_RGB32;
    setAttribute(Qt::WA_OpaquePaintEvent);
    surfaceStale_ = true;
    update();
}

TPoint ControlHostWidget::controlPoint(QPointF widgetPoint) const
{
    return wholePoint(widgetPoint / zoom_);
}

void ControlHostWidget::invalidateControl(TControl&)
{
    surfaceStale_ = true;
    update();
}

void ControlHostWidget::repaintControl(TControl&)
{
    surfaceStale_ = true;
    // Within a paint the widget cannot paint again; the paint under way is followed by another.
    if (painting_)
        update();
    else
        repaint();
}

void ControlHostWidget::drawOnControl(TControl& control, const std::function<void(TCanvas&)>& draw)
{
    if (!visibleWithParents(control, control_)) return;
    // The drawing shows the control as it now is; so does the paint that follows this one.
    if (painting_) {
        drawnDuringPaint_ = true;
        return;
    }
    if (surfaceStale_ || surface_.size() != surfaceSize()) paintSurface();
    {
        QPainter painter(&surface_);
        const TPoint offset = control.offsetWithin(control_);
        if (&control != &control_)
            painter.setClipRect(offset.x, offset.y, std::max(control.width(), 0), std::max(control.height(), 0));
        painter.translate(offset.x, offset.y);
        TCanvas canvas(painter);
        canvas.setBudget(&paintBudget_);
        draw(canvas);
    }
    update();
}

TPoint ControlHostWidget::clientToScreen(const TControl& control, TPoint point) const
{
    const TPoint offset = control.offsetWithin(control_);
    const QPoint screen = mapToGlobal(QPointF((point.x + offset.x) * zoom_, (point.y + offset.y) * zoom_).toPoint());
    return {screen.x(), screen.y()};
}

TPoint ControlHostWidget::screenToClient(const TControl& control, TPoint point) const
{
    const TPoint offset = control.offsetWithin(control_);
    const TPoint at = controlPoint(mapFromGlobal(QPointF(point.x, point.y)));
    return {at.x - offset.x, at.y - offset.y};
}

void ControlHostWidget::paintSurface()
{
    // A control that drew during the first pass may have been painted before it changed; the
    // second pass shows it as it is. Were a paint to keep changing what it shows, the next pass
    // waits for the next paint event rather than holding this one for ever.
    for (int pass = 0; pass < 2; ++pass) {
        // The surface is kept while its size holds: a drag repaints it at every step.
        if (surface_.size() != surfaceSize() || surface_.format() != surfaceFormat_)
            surface_ = QImage(surfaceSize(), surfaceFormat_);
        surface_.fill(Qt::transparent);
        surfaceStale_ = false;
        drawnDuringPaint_ = false;
        {
            const QScopedValueRollback<bool> painting(painting_, true);
            paintControlTree(surface_, control_, paintBudget_);
        }
        if (!drawnDuringPaint_) return;
    }
    surfaceStale_ = true;
    update();
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
    if (surfaceStale_ || surface_.size() != surfaceSize()) paintSurface();
    QPainter painter(this);
    if (zoom_ == 1) {
        painter.drawImage(0, 0, surface_);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform, zoom_ < 1);
    painter.drawImage(rect(), surface_);
}

void ControlHostWidget::press(QMouseEvent* event, TShiftState extra)
{
    lastPoint_ = controlPoint(event->position());
    const auto button = toMouseButton(event->button());
    if (!button) return;
    heldButtons_ |= event->button();
    input_.mouseDown(*button, shiftState(event->modifiers(), event->buttons()) | extra, lastPoint_);
}

void ControlHostWidget::endDrags()
{
    // A host that goes while a button is held (its window reset or closed) would leave the
    // control in its drag: the pointer it hid hidden, its repeat running.
    for (const Qt::MouseButton qtButton : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        if (!(heldButtons_ & qtButton)) continue;
        heldButtons_ &= ~qtButton;
        input_.mouseUp(*toMouseButton(qtButton), shiftState(Qt::NoModifier, heldButtons_), lastPoint_);
    }
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
    lastPoint_ = controlPoint(event->position());
    input_.mouseMove(shiftState(event->modifiers(), event->buttons()), lastPoint_);
}

void ControlHostWidget::mouseReleaseEvent(QMouseEvent* event)
{
    heldButtons_ &= ~event->button();
    lastPoint_ = controlPoint(event->position());
    const auto button = toMouseButton(event->button());
    if (!button) return;
    input_.mouseUp(*button, shiftState(event->modifiers(), event->buttons()), lastPoint_);
}

void ControlHostWidget::enterEvent(QEnterEvent* event)
{
    input_.pointerEntered(controlPoint(event->position()));
}

void ControlHostWidget::leaveEvent(QEvent*)
{
    // The pointer belongs to the control that took the press until its release; a leave that
    // arrives meanwhile (a window appearing under it) must not end the drag unseen.
    if (heldButtons_) return;
    input_.mouseExit();
}

int ControlHostWidget::virtualKey(int qtKey)
{
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) return qtKey;
    switch (qtKey) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    default: return 0;
    }
}

void ControlHostWidget::keyPressEvent(QKeyEvent* event)
{
    const TShiftState shift = shiftState(event->modifiers(), Qt::NoButton) |
                              (event->key() == Qt::Key_Backtab ? TShiftState{ssShift} : TShiftState{0});
    if (const int key = virtualKey(event->key())) input_.keyDown(key, shift);
    const QString text = event->text();
    // Characters of the original's code page only; a caption's accelerator is one of them.
    if (text.size() == 1 && text[0].unicode() >= 0x20 && text[0].unicode() < 0x7F)
        input_.keyPress(static_cast<char>(text[0].unicode()), (shift & ssAlt) != 0);
}

void ControlHostWidget::keyReleaseEvent(QKeyEvent* event)
{
    if (event->isAutoRepeat()) return;
    if (const int key = virtualKey(event->key())) input_.keyUp(key, shiftState(event->modifiers(), Qt::NoButton));
}

bool ControlHostWidget::focusNextPrevChild(bool)
{
    return false;
}

}  // namespace trovelin
