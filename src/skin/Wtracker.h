#pragma once
// The skinned tracker: a vertical fader with a step button at each end, a gradient track and a
// round knob; Max at the top. Held step buttons repeat; the track is dragged with the left button.

#include <cstdint>
#include <memory>

#include <QImage>

#include "framework/Control.h"
#include "framework/HintWindow.h"
#include "framework/PaintBuffer.h"
#include "panelctl/ValueRange.h"
#include "skin/TrackerGeometry.h"

namespace trovelin {

class TTimer;

class TWTracker : public TGraphicControl {
public:
    explicit TWTracker(Component* owner);
    ~TWTracker() override;

    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    std::int32_t min() const { return range_.min; }
    // Pushes Max up to keep Min < Max, and the position into the range; repaints.
    void setMin(std::int32_t value);
    std::int32_t max() const { return range_.max; }
    // Pushes Min down to keep Min < Max, and the position into the range; repaints.
    void setMax(std::int32_t value);
    std::int32_t position() const { return position_; }
    // Limits the value and moves the knob on screen; never raises OnChange.
    void setPosition(std::int32_t value);
    // The knob colour; clBtnFace by default.
    TColor color() const { return color_; }
    void setColor(TColor value);
    TColor firstColor() const { return firstColor_; }
    void setFirstColor(TColor value);
    TColor secondColor() const { return secondColor_; }
    void setSecondColor(TColor value);
    bool hasMouse() const { return hasMouse_; }

    MethodRef onChange;
    TNotifyEvent onChangeHandler;

    // Rebuilds the track image and paints.
    void Review();
    void paint(TCanvas& canvas) override;
    void mouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void mouseMove(TShiftState shift, int x, int y) override;
    void mouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void mouseEnter() override;
    void mouseLeave() override;
    // Shows the value next to the pointer while the pointer is over the control.
    using TControl::setHint;
    void setHint(int value);

    // For tests and hosts.
    TrackerLayout layout() const { return TrackerLayout::of(width(), height()); }
    const QImage& trackImage() const { return track_.peek(); }
    const QImage& knobImage() const { return knob_.peek(); }
    int trackBuilds() const { return trackBuilds_; }
    const TTimer* repeatTimer() const { return repeatTimer_.get(); }
    bool dragging() const { return dragging_; }

protected:
    void enabledChanged() override;

private:
    void BallPoolPaint();
    void UpButtonPaint(TCanvas& canvas);
    void DownButtonPaint(TCanvas& canvas);
    // The extents the track and the knob are drawn at; their images hold what of them can show.
    static TPoint trackExtent(const TrackerLayout& shape);
    static TPoint knobExtent(const TrackerLayout& shape);
    void buildTrack(const TCanvas& on, const TrackerLayout& shape, const TRect& visible);
    int knobOffset() const;
    bool takesInput() const;
    void step(bool up);
    void onTimer();
    void change();

    THintWindow hintWindow_;
    TColor color_ = clBtnFace;
    TColor firstColor_ = clBtnHighlight;
    TColor secondColor_ = clBtnShadow;
    std::int32_t position_ = 0;
    ValueRange range_;
    bool upPressed_ = false;
    bool downPressed_ = false;
    std::unique_ptr<TTimer> repeatTimer_;
    bool dragging_ = false;
    bool hasMouse_ = false;
    TRect lastBounds_{0, 0, 0, 0};  // left, top, width and height the track image was built for
    // Within the paint buffers' budget: the knob in its own coordinates, the track in the control's.
    PaintBuffer knob_;
    PaintBuffer track_;
    int trackBuilds_ = 0;
};

}  // namespace trovelin
