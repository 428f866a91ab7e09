// The Qt widget that hosts a control: size, painting through the canvas, Qt mouse events turned
// into the control's events, repaints on the control's requests, and drawing asked for while a
// paint is under way.

#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>

#include "framework/Canvas.h"
#include "framework/WinControl.h"
#include "skin/Wradiobutton.h"
#include "skin/Wradiogroup.h"
#include "skin/Wspeedbutton.h"
#include "support/GuiApplication.h"
#include "support/PixelProbe.h"
#include "widgets/ControlHostWidget.h"

namespace trovelin {
namespace {

using testing::colorAt;

// Records the mouse events it gets and paints a blue square whose size tells which paint it was.
class ProbeControl : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;

    void paint(TCanvas& canvas) override
    {
        ++paints;
        canvas.brush().setColor(0xFF0000);
        canvas.fillRect({0, 0, width(), height()});
    }
    void mouseDown(TMouseButton button, TShiftState shift, int x, int y) override
    {
        TGraphicControl::mouseDown(button, shift, x, y);
        downs.push_back({button, shift, x, y});
    }
    void mouseMove(TShiftState shift, int x, int y) override
    {
        TGraphicControl::mouseMove(shift, x, y);
        moves.push_back({TMouseButton::mbLeft, shift, x, y});
    }
    void mouseUp(TMouseButton button, TShiftState shift, int x, int y) override
    {
        TGraphicControl::mouseUp(button, shift, x, y);
        ups.push_back({button, shift, x, y});
    }
    void mouseEnter() override { ++enters; }
    void mouseLeave() override { ++leaves; }

    struct Event {
        TMouseButton button;
        TShiftState shift;
        int x, y;
        bool operator==(const Event&) const = default;
    };
    std::vector<Event> downs, moves, ups;
    int paints = 0, enters = 0, leaves = 0;
};

class ControlHostWidgetTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!QApplication::instance()) {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            static int argc = 1;
            static char name[] = "trovelin-tests";
            static char* argv[] = {name, nullptr};
            static auto* application = new QApplication(argc, argv);
            (void)application;
        }
        testing::ensureGuiApplication();  // finds the application above; keeps the shared test setup
    }

    static void send(QWidget& widget, QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons buttons,
                     Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QMouseEvent event(type, at, widget.mapToGlobal(at), button, buttons, modifiers);
        QApplication::sendEvent(&widget, &event);
    }
};

TEST_F(ControlHostWidgetTest, TakesTheControlsSizeAndPaintsIt)
{
    ProbeControl control(nullptr);
    control.setWidth(30);
    control.setHeight(20);
    ControlHostWidget widget(control);
    EXPECT_EQ(widget.size(), QSize(30, 20));
    const QImage image = widget.grab().toImage();
    EXPECT_EQ(colorAt(image, 0, 0), 0xFF0000u);
    EXPECT_EQ(colorAt(image, 29, 19), 0xFF0000u);

    control.setWidth(40);
    widget.followControlSize();
    EXPECT_EQ(widget.size(), QSize(40, 20));
}

TEST_F(ControlHostWidgetTest, RequestsFromTheControlRepaintTheWidget)
{
    ProbeControl control(nullptr);
    control.setWidth(10);
    control.setHeight(10);
    ControlHostWidget widget(control);
    widget.show();
    QApplication::processEvents();  // the first paint, once the window is exposed
    ASSERT_GE(control.paints, 1);
    const int before = control.paints;
    control.repaint();
    EXPECT_EQ(control.paints, before + 1);
    control.invalidate();
    QApplication::processEvents();
    EXPECT_GT(control.paints, before + 1);
}

// Controls draw between paints (a fader moving its knob); that stays on screen through a plain
// redraw of the widget and goes only when the control asks for a paint of its own.
TEST_F(ControlHostWidgetTest, DrawingBetweenPaintsStaysUntilTheControlPaintsAgain)
{
    ProbeControl control(nullptr);
    control.setWidth(10);
    control.setHeight(10);
    ControlHostWidget widget(control);
    control.drawOnCanvas([](TCanvas& canvas) { canvas.setPixel(3, 4, 0x00FF00); });
    const int paints = control.paints;
    EXPECT_EQ(colorAt(widget.grab().toImage(), 3, 4), 0x00FF00u);
    EXPECT_EQ(colorAt(widget.grab().toImage(), 5, 5), 0xFF0000u);
    EXPECT_EQ(control.paints, paints);

    control.invalidate();
    EXPECT_EQ(colorAt(widget.grab().toImage(), 3, 4), 0xFF0000u);
    EXPECT_EQ(control.paints, paints + 1);

    const TPoint screen = control.clientToScreen({2, 3});
    EXPECT_EQ(QPoint(screen.x, screen.y), widget.mapToGlobal(QPoint(2, 3)));
}

TEST_F(ControlHostWidgetTest, MouseEventsArriveWithButtonsShiftStatesAndPositions)
{
    ProbeControl control(nullptr);
    control.setWidth(20);
    control.setHeight(20);
    ControlHostWidget widget(control);
    using Event = ProbeControl::Event;

    send(widget, QEvent::MouseButtonPress, {3.6, 4.2}, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    send(widget, QEvent::MouseMove, {-2.5, 30}, Qt::NoButton, Qt::LeftButton | Qt::RightButton,
         Qt::ControlModifier | Qt::AltModifier);
    send(widget, QEvent::MouseButtonRelease, {7, 8}, Qt::LeftButton, Qt::NoButton);
    send(widget, QEvent::MouseButtonDblClick, {1, 1}, Qt::MiddleButton, Qt::MiddleButton);
    send(widget, QEvent::MouseButtonPress, {1, 1}, Qt::BackButton, Qt::BackButton);  // no such button here

    EXPECT_EQ(control.downs, (std::vector<Event>{{TMouseButton::mbLeft, ssShift | ssLeft, 3, 4},
                                                 {TMouseButton::mbMiddle, ssMiddle | ssDouble, 1, 1}}));
    EXPECT_EQ(control.moves, (std::vector<Event>{{TMouseButton::mbLeft, ssCtrl | ssAlt | ssLeft | ssRight, -3, 30}}));
    EXPECT_EQ(control.ups, (std::vector<Event>{{TMouseButton::mbLeft, 0, 7, 8}}));
    // While a button is held the pointer belongs to the pressed control: no leave before the release.
    send(widget, QEvent::MouseButtonRelease, {1, 1}, Qt::MiddleButton, Qt::NoButton);

    QEnterEvent enter({1, 1}, {1, 1}, widget.mapToGlobal(QPointF(1, 1)));
    QApplication::sendEvent(&widget, &enter);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&widget, &leave);
    EXPECT_EQ(control.enters, 1);
    EXPECT_EQ(control.leaves, 1);

    // A disabled control gets no buttons or moves.
    control.setEnabled(false);
    send(widget, QEvent::MouseButtonPress, {3, 3}, Qt::LeftButton, Qt::LeftButton);
    send(widget, QEvent::MouseButtonRelease, {3, 3}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(control.downs.size(), 2u);
    EXPECT_EQ(control.ups.size(), 2u);
}

TEST_F(ControlHostWidgetTest, PressAndReleaseOnASkinnedButtonClickItAndShowTheHotLook)
{
    TWinControl panel(nullptr);
    TWSpeedButton button(nullptr);
    button.setParent(&panel);
    button.setWidth(24);
    button.setHeight(24);
    button.setFlat(true);
    int clicks = 0;
    button.onClickHandler = [&](TControl&) { ++clicks; };
    ControlHostWidget widget(button);

    QEnterEvent enter({5, 5}, {5, 5}, widget.mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(&widget, &enter);
    EXPECT_EQ(colorAt(widget.grab().toImage(), 0, 5), 0xEFEFEFu);

    send(widget, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(colorAt(widget.grab().toImage(), 0, 5), 0x1F1F1Fu);
    send(widget, QEvent::MouseButtonRelease, {6, 6}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(clicks, 1);

    send(widget, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    send(widget, QEvent::MouseButtonRelease, {30, 6}, Qt::LeftButton, Qt::NoButton);  // released outside
    EXPECT_EQ(clicks, 1);

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&widget, &leave);
    EXPECT_EQ(colorAt(widget.grab().toImage(), 0, 5), 0x7F7F7Fu);
}

// A paint that makes a control draw on its own (the radio group checking its ItemIndex button
// again while it lays its buttons out for a new size) must not pull the surface away from the
// painter that is filling it; the drawing shows once the paint is done.
TEST_F(ControlHostWidgetTest, DrawingAskedForDuringAPaintWaitsForItsEnd)
{
    TWinControl form(nullptr);
    form.setWidth(220);
    form.setHeight(100);
    TWRadioGroup group(nullptr);
    group.setParent(&form);
    group.setItems({"One", "Two", "Three"});
    group.setItemIndex(0);
    ControlHostWidget widget(form);
    widget.show();
    QApplication::processEvents();

    group.buttons()[1]->setChecked(true);  // unchecks the ItemIndex button behind the group's back
    ASSERT_FALSE(group.buttons()[0]->checked());
    group.setHeight(90);
    group.invalidate();
    const QImage shown = widget.grab().toImage();
    EXPECT_TRUE(group.buttons()[0]->checked());
    // The first button's box (at 12, 16) in its checked frame: white with a black dot.
    EXPECT_EQ(colorAt(shown, 12 + 7, 16 + 8), 0x000000u);
    EXPECT_EQ(colorAt(widget.grab().toImage(), 12 + 7, 16 + 8), 0x000000u);
}

}  // namespace
}  // namespace trovelin
