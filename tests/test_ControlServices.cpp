// Timers, hint windows and the pointer as controls reach them through their host: the timer's
// restart rules on the hand-turned clock and on Qt's event loop, and the hint window's size and
// showing.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>

#include "framework/Canvas.h"
#include "framework/Control.h"
#include "framework/HintWindow.h"
#include "framework/Timer.h"
#include "support/GuiApplication.h"
#include "support/TestControlHost.h"
#include "widgets/QtControlServices.h"

namespace trovelin {
namespace {

using testing::ManualTimerService;

TEST(Timer, FiresEveryIntervalAndStartsAfreshWhenTheIntervalChanges)
{
    ManualTimerService clock;
    TTimer timer(clock);
    std::vector<int> firings;
    timer.setInterval(500);
    timer.onTimer = [&] {
        firings.push_back(clock.now());
        timer.setInterval(100);  // as an auto-repeat does: the first step waits longer
    };
    clock.advance(499);
    EXPECT_TRUE(firings.empty());
    clock.advance(301);
    EXPECT_EQ(firings, (std::vector<int>{500, 600, 700, 800}));

    timer.setEnabled(false);
    clock.advance(1000);
    EXPECT_EQ(firings.size(), 4u);
    timer.setEnabled(true);
    clock.advance(100);
    EXPECT_EQ(firings.back(), 1900);
}

TEST(Timer, AHandlerMayDestroyItsOwnTimer)
{
    ManualTimerService clock;
    auto timer = std::make_unique<TTimer>(clock);
    int firings = 0;
    timer->setInterval(10);
    timer->onTimer = [&] {
        ++firings;
        timer.reset();
    };
    clock.advance(100);
    EXPECT_EQ(firings, 1);
    EXPECT_EQ(clock.armedCount(), 0u);
}

TEST(Timer, RunsOnQtsEventLoop)
{
    testing::ensureGuiApplication();
    QtTimerService service;
    auto timer = std::make_unique<TTimer>(service);
    int firings = 0;
    timer->setInterval(5);
    timer->onTimer = [&] {
        if (++firings == 2) timer.reset();  // destroyed from its own handler
    };
    QElapsedTimer waited;
    waited.start();
    while (timer && waited.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_EQ(firings, 2);
    QCoreApplication::processEvents();
}

TEST(HintWindow, MeasuresItsTextWithItsFontAndShowsThroughTheHost)
{
    testing::ensureGuiApplication();
    TGraphicControl control(nullptr);
    THintWindow hint(control);
    hint.font().setName("SmallFonts");
    hint.font().setSize(7);

    QImage scratch(1, 1, QImage::Format_RGB32);
    TCanvas canvas(scratch);
    canvas.font().setName("SmallFonts");
    canvas.font().setSize(7);
    const TRect rect = hint.calcHintRect(100, "255");
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.width(), canvas.textWidth("255") + 6);
    EXPECT_EQ(rect.height(), canvas.textHeight("255") + 2);
    EXPECT_GT(hint.calcHintRect(100, "one two three four five six seven eight").height(), rect.height());

    hint.activateHint({10, 20, 30, 40}, "255");  // not shown anywhere yet: only remembered
    EXPECT_TRUE(hint.showing());

    testing::TestControlHost host(control);
    hint.activateHint({10, 20, 30, 40}, "12");
    EXPECT_TRUE(host.hint.showing);
    EXPECT_EQ(host.hint.text, "12");
    EXPECT_EQ(host.hint.rect, (TRect{10, 20, 30, 40}));
    EXPECT_EQ(host.hint.fontName, "SmallFonts");
    EXPECT_EQ(host.hint.fontSize, 7);
    hint.releaseHandle();
    EXPECT_FALSE(host.hint.showing);
    EXPECT_FALSE(hint.showing());
}

TEST(ControlServices, ControlsReachTheirHostsPointerAndScreen)
{
    TGraphicControl control(nullptr);
    EXPECT_EQ(control.services(), nullptr);
    EXPECT_EQ(control.clientToScreen({4, 5}), (TPoint{4, 5}));
    testing::TestControlHost host(control, {300, 200});
    host.cursor = {310, 215};
    ASSERT_NE(control.services(), nullptr);
    EXPECT_EQ(control.services()->cursorPos(), (TPoint{310, 215}));
    EXPECT_EQ(control.clientToScreen({4, 5}), (TPoint{304, 205}));
}

TEST(ControlServices, QtPointerHidesByCountAndNeverPopsAnotherOverride)
{
    testing::ensureGuiApplication();
    ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
    {
        QtControlServices services;
        services.showCursor(true);  // a show without a hide changes nothing
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        services.showCursor(false);
        services.showCursor(false);
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BlankCursor);
        services.showCursor(true);
        EXPECT_NE(QGuiApplication::overrideCursor(), nullptr);
        services.showCursor(true);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        services.showCursor(true);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        QGuiApplication::restoreOverrideCursor();
        services.showCursor(false);  // left hidden: the services show it when they go
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace trovelin
