#pragma once
// A host for controls under test: it paints the control onto an image, keeps what the control
// draws between paints on that image, counts the requests, and gives timers on a clock turned by
// hand, hint windows that only record, and a pointer the test places and controls may hide and move.

#include <map>
#include <memory>
#include <string>

#include <QImage>

#include "framework/ControlHost.h"
#include "framework/ControlServices.h"
#include "framework/Geometry.h"
#include "framework/HintWindow.h"
#include "framework/PaintBuffer.h"
#include "framework/Timer.h"
#include "framework/WinControl.h"

namespace trovelin::testing {

// Timers fire only when the test advances the clock, in the order they fall due.
class ManualTimerService : public TimerService {
public:
    void arm(TTimer& timer) override;
    void disarm(TTimer& timer) override;
    // Moves the clock on by `milliseconds`, firing every timer that falls due on the way.
    void advance(int milliseconds);
    int now() const { return now_; }
    bool armed(const TTimer& timer) const { return due_.count(const_cast<TTimer*>(&timer)) != 0; }
    std::size_t armedCount() const { return due_.size(); }

private:
    int now_ = 0;
    std::map<TTimer*, int> due_;
};

// What the hint windows of the host's controls last showed.
struct HintRecord {
    bool showing = false;
    TRect rect;
    std::string text;
    std::string fontName;
    int fontSize = 0;
    TColor color = 0;
    int shows = 0;
};

class TestControlHost : public ControlHost, public ControlServices {
public:
    // Hosts `control` (which must outlive the host) with its client origin at `screenOrigin`.
    explicit TestControlHost(TControl& control, TPoint screenOrigin = {300, 200});
    ~TestControlHost() override;

    // A full paint of the control onto a fresh surface of its size, on `background`.
    const QImage& paint(QRgb background = 0xFF000000u | 0x00F0F0F0u);
    const QImage& surface() const { return surface_; }
    PaintBufferBudget& paintBudget() { return paintBudget_; }

    void invalidateControl(TControl&) override { ++invalidated; }
    void repaintControl(TControl&) override;
    void drawOnControl(TControl& control, const std::function<void(TCanvas&)>& draw) override;
    TPoint clientToScreen(const TControl& control, TPoint point) const override;
    TPoint screenToClient(const TControl& control, TPoint point) const override;
    ControlServices* services() override { return this; }

    TimerService& timers() override { return clock; }
    std::unique_ptr<HintDisplay> createHintDisplay() override;
    TPoint cursorPos() const override { return cursor; }
    void showCursor(bool show) override { ++(show ? cursorShows : cursorHides); }
    void setCursorPos(TPoint screenPoint) override
    {
        cursor = screenPoint;
        ++cursorMoves;
    }

    int invalidated = 0;
    int repainted = 0;
    int drawnBetweenPaints = 0;
    ManualTimerService clock;
    TPoint cursor;
    int cursorHides = 0;
    int cursorShows = 0;
    int cursorMoves = 0;
    HintRecord hint;

private:
    TControl& control_;
    TPoint screenOrigin_;
    QImage surface_;
    PaintBufferBudget paintBudget_;
};

// A face and its controls painted as the panel paints them (controls under opaque ones only where
// they show), and painted each whole, bottom first: the two must agree pixel for pixel.
QImage paintedAsTree(TWinControl& face, int width, int height);
QImage paintedEachWhole(TWinControl& face, int width, int height);

}  // namespace trovelin::testing
