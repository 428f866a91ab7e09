#pragma once
// A Qt widget that shows one graphic control: it paints the control through a canvas and hands
// it the mouse in the control's own terms (buttons, shift states, client coordinates).

#include <QWidget>

#include "framework/Control.h"
#include "framework/ControlHost.h"

namespace trovelin {

class ControlHostWidget : public QWidget, public ControlHost {
public:
    // Hosts `control`, which must outlive the widget, and takes the control's size.
    explicit ControlHostWidget(TControl& control, QWidget* parent = nullptr);
    ~ControlHostWidget() override;

    TControl& control() { return control_; }
    // Matches the widget to the control's width and height again, after the control changed them.
    void followControlSize();

    void invalidateControl(TControl& control) override;
    void repaintControl(TControl& control) override;

    // Qt's mouse state in the control's terms.
    static TShiftState shiftState(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void press(QMouseEvent* event, TShiftState extra);

    TControl& control_;
};

}  // namespace trovelin
