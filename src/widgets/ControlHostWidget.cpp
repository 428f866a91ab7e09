#include "widgets/ControlHostWidget.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include <QAccessible>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QTimer>

#include "framework/Canvas.h"
#include "framework/Keys.h"
#include "framework/PaintTree.h"
#include "framework/WinControl.h"
#include "widgets/ControlHostAccessible.h"

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

bool treeContains(const TControl& tree, const TControl* control)
{
    if (control == &tree) return true;
    if (const auto* windowed = dynamic_cast<const TWinControl*>(&tree))
        for (const TControl* child : windowed->controls())
            if (treeContains(*child, control)) return true;
    return false;
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

void ControlHostWidget::invalidateControl(TControl& control)
{
    noteDrawn(control);
    surfaceStale_ = true;
    update();
}

void ControlHostWidget::repaintControl(TControl& control)
{
    noteDrawn(control);
    surfaceStale_ = true;
    // Within a paint the widget cannot paint again; the paint under way is followed by another.
    if (painting_)
        update();
    else
        repaint();
}

void ControlHostWidget::drawOnControl(TControl& control, const std::function<void(TCanvas&)>& draw)
{
    noteDrawn(control);
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
    } else {
        painter.setRenderHint(QPainter::SmoothPixmapTransform, zoom_ < 1);
        painter.drawImage(rect(), surface_);
    }
    paintFocusFrame(painter);
}

void ControlHostWidget::press(QMouseEvent* event, TShiftState extra)
{
    lastPoint_ = controlPoint(event->position());
    const auto button = toMouseButton(event->button());
    if (!button) return;
    heldButtons_ |= event->button();
    input_.mouseDown(*button, shiftState(event->modifiers(), event->buttons()) | extra, lastPoint_);
    followPointerStop(input_.controlAt(lastPoint_));
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
    // A held Space presses once; held arrows keep stepping.
    if (!keysGoToFramework() && !(event->isAutoRepeat() && event->key() == Qt::Key_Space) && stop_->control->enabled() &&
        operateStop(describe_(*stop_->control), stop_->value, virtualKey(event->key())))
        return;
    const TShiftState shift = shiftState(event->modifiers(), Qt::NoButton) |
                              (event->key() == Qt::Key_Backtab ? TShiftState{ssShift} : TShiftState{0});
    if (const int key = virtualKey(event->key()); key != 0 && keysGoToFramework()) input_.keyDown(key, shift);
    const QString text = event->text();
    // Characters of the original's code page only; a caption's accelerator is one of them.
    if (text.size() == 1 && text[0].unicode() >= 0x20 && text[0].unicode() < 0x7F)
        input_.keyPress(static_cast<char>(text[0].unicode()), (shift & ssAlt) != 0);
}

void ControlHostWidget::keyReleaseEvent(QKeyEvent* event)
{
    if (event->isAutoRepeat() || !keysGoToFramework()) return;
    if (const int key = virtualKey(event->key())) input_.keyUp(key, shiftState(event->modifiers(), Qt::NoButton));
}

bool ControlHostWidget::focusNextPrevChild(bool next)
{
    if (!describe_) return false;
    showFocusFrame_ = true;
    if (moveStop(next)) return true;
    // Past the last control the window's own buttons come next; with none, Tab wraps round.
    stop_.reset();
    if (QWidget::focusNextPrevChild(next) && !hasFocus()) return true;
    return moveStop(next);
}

void ControlHostWidget::setDescriber(ControlDescriber describe)
{
    describe_ = std::move(describe);
    stop_.reset();
}

QRectF ControlHostWidget::shownArea(const TControl& control) const
{
    const TPoint offset = control.offsetWithin(control_);
    const QRectF area(offset.x * zoom_, offset.y * zoom_, std::max(control.width(), 0) * zoom_,
                      std::max(control.height(), 0) * zoom_);
    return area.intersected(QRectF(rect()));
}

bool ControlHostWidget::shows(const TControl* control) const
{
    return control != nullptr && treeContains(control_, control);
}

std::optional<ControlStop> ControlHostWidget::currentStop() const
{
    if (!stop_ || !shows(stop_->control)) return std::nullopt;
    return stop_;
}

bool ControlHostWidget::keysGoToFramework() const
{
    const std::optional<ControlStop> stop = currentStop();
    return !describe_ || !stop || describe_(*stop->control).ownFocus;
}

bool ControlHostWidget::moveStop(bool forward)
{
    const std::vector<ControlStop> stops = controlStops(control_, describe_);
    const std::optional<ControlStop> current = currentStop();
    auto at = current ? std::find(stops.begin(), stops.end(), *current) : stops.end();
    if (at == stops.end()) {
        if (stops.empty()) return false;
        enterStop(forward ? stops.front() : stops.back());
        return true;
    }
    if (forward ? at + 1 == stops.end() : at == stops.begin()) return false;
    enterStop(forward ? *(at + 1) : *(at - 1));
    return true;
}

void ControlHostWidget::enterStop(const ControlStop& stop)
{
    if (stop_ && *stop_ == stop) return;
    const std::optional<ControlStop> previous = currentStop();
    stop_ = stop;
    // One focus shows at a time: a control without a window takes the keys from a windowed one.
    if (auto* windowed = dynamic_cast<TWinControl*>(stop.control); windowed != nullptr && describe_(*windowed).ownFocus)
        windowed->setFocus();
    else if (auto* root = dynamic_cast<TWinControl*>(&control_))
        root->clearFocus();
    if (previous) update(shownArea(*previous->control).adjusted(-2, -2, 2, 2).toAlignedRect());
    update();
    if (hasFocus()) announceFocus(*this, stop);
}

void ControlHostWidget::focusStop(const ControlStop& stop)
{
    if (!describe_ || !shows(stop.control)) return;
    showFocusFrame_ = true;
    enterStop(stop);
    setFocus(Qt::OtherFocusReason);
}

void ControlHostWidget::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    if (!describe_) return;
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason) {
        showFocusFrame_ = true;
        stop_.reset();
        moveStop(event->reason() == Qt::TabFocusReason);
    } else if (const std::optional<ControlStop> stop = currentStop()) {
        announceFocus(*this, *stop);
    }
    update();
}

void ControlHostWidget::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

void ControlHostWidget::followPointerStop(const TControl* pressed)
{
    if (!describe_) return;
    showFocusFrame_ = false;
    const auto* root = dynamic_cast<const TWinControl*>(&control_);
    const TControl* focused = root != nullptr ? root->focusedControl() : nullptr;
    const std::vector<ControlStop> stops = controlStops(control_, describe_);
    // The control pressed, when it is a stop; else the one the press gave the framework's focus.
    for (const TControl* wanted : {pressed, focused}) {
        const auto stop =
            std::find_if(stops.begin(), stops.end(), [wanted](const ControlStop& s) { return s.control == wanted; });
        if (stop == stops.end()) continue;
        if (!stop_ || stop_->control != wanted) enterStop(*stop);
        break;
    }
    update();
}

void ControlHostWidget::paintFocusFrame(QPainter& painter)
{
    if (!showFocusFrame_ || !hasFocus()) return;
    const std::optional<ControlStop> stop = currentStop();
    if (!stop || describe_(*stop->control).ownFocus) return;
    const QRectF frame = shownArea(*stop->control);
    if (frame.isEmpty()) return;
    painter.resetTransform();
    painter.setRenderHint(QPainter::Antialiasing, false);
    // Black dashes over white ones: seen on any face.
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
}

void ControlHostWidget::noteDrawn(TControl& control)
{
    if (!describe_ || !QAccessible::isActive()) return;
    if (std::find(drawnSinceAnnounced_.begin(), drawnSinceAnnounced_.end(), &control) == drawnSinceAnnounced_.end())
        drawnSinceAnnounced_.push_back(&control);
    if (announcing_) return;
    announcing_ = true;
    // After the input that changed the value has run its course: a drag draws many times.
    QTimer::singleShot(0, this, [this] { announceChanges(); });
}

void ControlHostWidget::announceChanges()
{
    announcing_ = false;
    std::vector<TControl*> drawn;
    drawn.swap(drawnSinceAnnounced_);
    for (TControl* control : drawn)
        if (shows(control)) announceValues(*this, *control);
}

}  // namespace trovelin
