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

#include <algorithm>

#include <QImage>
#include <QWidget>

#include "framework/Control.h"
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
    // Tab belongs to the controls, which move their own focus with it.
    bool focusNextPrevChild(bool next) override;

private:
    void press(QMouseEvent* event, TShiftState extra);
    void endDrags();
    TPoint controlPoint(QPointF widgetPoint) const;
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
};

}  // namespace trovelin
