#pragma once
// A Qt widget that shows one control with the controls inside it: it paints them through a
// canvas and hands them the mouse, the keys and the pointer's coming and going in their own terms
// (buttons, shift states, key codes, client coordinates), through a ControlInput. What the
// controls show is kept on a surface, so that they can also draw between paints, as the
// original's controls draw on their canvas; a window uncovered again shows the surface as it is.
// A paint may make a control draw (a radio group checking a button as it lays them out); that
// drawing waits for the end of the paint, which then paints the surface once more.
// A zoom other than 1 shows the surface scaled (whole factors as sharp squares, smooth only when
// shrinking) and maps the pointer back to the controls' own pixels.
// Given a describer, the host also lets the keyboard reach every control that can be worked:
// Tab walks the controls (and the values of a control of several) and leaves the panel after the
// last one, the arrows, Page Up/Down and Home/End set a value, Space presses a button; controls
// with a focus of their own take their keys as before. A dotted frame shows which control has
// the keyboard once Tab has moved it, until the mouse is used again.

#include <algorithm>
#include <optional>
#include <vector>

#include <QImage>
#include <QWidget>

#include "framework/Control.h"
#include "framework/ControlAccess.h"
#include "framework/ControlHost.h"
#include "framework/ControlInput.h"
#include "framework/PaintBuffer.h"

namespace trovelin {

class ControlHostWidget : public QWidget, public ControlHost {
public:
    // Hosts `control`, which must outlive the widget, and takes the control's size. `services`
    // (timers, hints, the pointer), when given, must outlive the widget too.
    explicit ControlHostWidget(TControl& control, QWidget* parent = nullptr, ControlServices* services = nullptr);
    // Ends a drag under way as its release would.
    ~ControlHostWidget() override;

    TControl& control() { return control_; }
    ControlInput& input() { return input_; }
    // Matches the widget to the control's width and height again, after the control changed them.
    void followControlSize();
    double zoom() const { return zoom_; }
    // Screen pixels per control pixel; values that are not positive are refused.
    void setZoom(double zoom);
    // For a control that paints every pixel of its rectangle (a panel's face): the surface needs
    // no transparency, and showing it is a plain copy with nothing painted under it.
    void setOpaque();
    // What the controls' buffers may hold while they paint on this widget's surface.
    PaintBufferBudget& paintBudget() { return paintBudget_; }

    void invalidateControl(TControl& control) override;
    void repaintControl(TControl& control) override;
    void drawOnControl(TControl& control, const std::function<void(TCanvas&)>& draw) override;
    TPoint clientToScreen(const TControl& control, TPoint point) const override;
    TPoint screenToClient(const TControl& control, TPoint point) const override;
    ControlServices* services() override { return services_; }

    // Lets the keyboard and assistive technology work the controls, as `describe` presents them.
    void setDescriber(ControlDescriber describe);
    const ControlDescriber& describer() const { return describe_; }
    // The stop that has the keyboard while the host has the focus; none before the first.
    std::optional<ControlStop> currentStop() const;
    // Gives the keyboard to `stop`, and the focus to the host.
    void focusStop(const ControlStop& stop);
    // Where `control` shows on the widget, in widget pixels: cut to the widget, so that a control
    // that a file makes larger than any screen still gives a rectangle that pixels can hold.
    QRectF shownArea(const TControl& control) const;
    // Whether `control` is still one of the hosted tree's, however long ago it was seen.
    bool shows(const TControl* control) const;

    // Qt's mouse state in the control's terms.
    static TShiftState shiftState(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);
    // Qt's key in the controls' virtual key codes; 0 for keys they do not know.
    static int virtualKey(int qtKey);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // Tab belongs to the controls, which move their own focus with it; with a describer it
    // leaves the panel after the last stop.
    bool focusNextPrevChild(bool next) override;

private:
    void press(QMouseEvent* event, TShiftState extra);
    void endDrags();
    TPoint controlPoint(QPointF widgetPoint) const;
    // Moves the keyboard to the next (or previous) stop; false past the last (or first).
    bool moveStop(bool forward);
    void enterStop(const ControlStop& stop);
    // Whether the keys go to the controls' own focus rather than to the current stop.
    bool keysGoToFramework() const;
    // The stop follows the mouse to the control it pressed, and the framework's focus.
    void followPointerStop(const TControl* pressed);
    // Assistive technology hears of the values that changed on controls that drew again.
    void noteDrawn(TControl& control);
    void announceChanges();
    void paintFocusFrame(QPainter& painter);
    void paintSurface();
    // The control's own size: the surface holds one pixel per control pixel, whatever the zoom.
    QSize surfaceSize() const { return {std::max(control_.width(), 0), std::max(control_.height(), 0)}; }

    TControl& control_;
    ControlServices* services_;
    ControlInput input_;
    double zoom_ = 1;
    // The buttons pressed here and not yet released, and where the pointer last was in the
    // control's pixels.
    Qt::MouseButtons heldButtons_;
    TPoint lastPoint_;
    QImage surface_;
    PaintBufferBudget paintBudget_;
    QImage::Format surfaceFormat_ = QImage::Format_ARGB32_Premultiplied;
    bool surfaceStale_ = true;
    // While the surface is being painted, its painter owns it: nothing may replace it or draw
    // on it beside that painter.
    bool painting_ = false;
    bool drawnDuringPaint_ = false;
    ControlDescriber describe_;
    std::optional<ControlStop> stop_;
    bool showFocusFrame_ = false;
    std::vector<TControl*> drawnSinceAnnounced_;
    bool announcing_ = false;
};

}  // namespace trovelin
