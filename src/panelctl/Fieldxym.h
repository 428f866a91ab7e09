#pragma once
// The XY field: the pan/tilt pad of a lighting panel. A ball marks a position X, Y in 0..255 on a
// square field; with M16bit each axis carries a fine value too, and a delta bar under the field
// sets how many fine steps one pixel of drag is worth. A left drag hides the pointer and moves
// the ball by relative motion, Shift and Ctrl lock an axis, the right button steps toward the
// pointer and repeats while held, and hovering shows the coordinates and the step's direction.

#include <cstdint>
#include <memory>

#include <QImage>

#include "framework/Control.h"
#include "framework/PaintBuffer.h"
#include "panelctl/FieldxyGeometry.h"

namespace trovelin {

class TTimer;

class TFieldXY : public TGraphicControl {
public:
    explicit TFieldXY(Component* owner);
    // Shows the pointer again if it goes in the middle of a drag.
    ~TFieldXY() override;

    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    bool twoSize() const { return twoSize_; }
    // Half size: the field is drawn at scale 2, and the size follows M16bit again.
    void setTwoSize(bool value);
    bool m16bit() const { return m16bit_; }
    // Sizes the control (12 pixels taller for the delta bar; 8-bit mode resets the delta to 256)
    // and repaints.
    void set16bit(bool value);
    bool inverted() const { return inverted_; }
    // Stored coordinates stay; what PositionX and PositionY read turns round.
    void setInverted(bool value);

    // PositionX and PositionY: the stored coordinate, 255 minus it while Inverted.
    std::int32_t getX() const { return shown(x_); }
    std::int32_t getY() const { return shown(y_); }
    // Limit to 0..255 and move the ball; never raise OnChange.
    void setX(std::int32_t value);
    void setY(std::int32_t value);
    std::int32_t getFineX() const { return shown(fineX_); }
    std::int32_t getFineY() const { return shown(fineY_); }
    // Limit and store, without drawing.
    void setFineX(std::int32_t value) { fineX_ = stored(value); }
    void setFineY(std::int32_t value) { fineY_ = stored(value); }
    // Field coordinates, not inverted: erases the ball and draws it at its new place once the
    // field has been painted.
    void setPosition(int x, int y);

    std::int32_t delta() const { return delta_; }
    // Kept as given in 16-bit mode (a value outside the table lights the first cell), 256 in
    // 8-bit mode; redraws the bar once the field has been painted.
    void setDelta(std::int32_t value);
    // The ball colour hides the control's colour, as the designer's field does.
    TColor color() const { return color_; }
    void setColor(TColor value);

    // Shows arrow n (0 none, 1 right, 2 left, 3 down, 4 up) on the field's margin.
    void drawDir(int direction);

    MethodRef onChange;
    TNotifyEvent onChangeHandler;

    void paint(TCanvas& canvas) override;
    // These replace the framework's handling: OnMouseDown, OnMouseMove and OnMouseUp are not raised.
    void mouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void mouseMove(TShiftState shift, int x, int y) override;
    void mouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void mouseEnter() override { stopRepeating(); }
    void mouseLeave() override { stopRepeating(); }

    // For tests and hosts: the stored state, the repeat timer and the ball's bitmap. The field
    // behind the ball is drawn afresh for what each paint or move shows, and not kept.
    int scale() const { return scale_; }
    int storedX() const { return x_; }
    int storedY() const { return y_; }
    int storedFineX() const { return fineX_; }
    int storedFineY() const { return fineY_; }
    int arrow() const { return arrow_; }
    bool dragging() const { return dragging_; }
    bool painted() const { return painted_; }
    const TTimer* repeatTimer() const { return repeatTimer_.get(); }
    const QImage& ballBitmap() const { return ball_; }

private:
    int side() const { return fieldSide(scale_); }
    int backgroundHeight() const { return side() + (m16bit_ ? fieldDeltaBarHeight : 0); }
    std::int32_t shown(int value) const { return inverted_ ? fieldCoordinateMaximum - value : value; }
    int stored(std::int32_t value) const { return shown(limitCoordinate(value)); }
    // Draws `part` of the field, and of the delta bar when there is one, into `buffer`, held in
    // the budget of the surface that `on` paints.
    void drawBackground(const TCanvas& on, PaintBuffer& buffer, const TRect& part);
    void paintBackground(TCanvas& canvas);
    void paintDeltaBar(TCanvas& canvas);
    // The ball image: the background under the ball's box, the ball, and the cross if asked.
    void buildBall(bool cross);
    void drawBall(TCanvas& canvas);
    void drawReadouts(const std::string& x, const std::string& y);
    void leftDown(TShiftState shift, int x, int y);
    void step(int x, int y);
    void dragTo(TShiftState shift, int x, int y);
    TPoint screenBallCentre() const;
    void hidePointer();
    void showPointer();
    void onTimer();
    void change();
    void stopRepeating();

    TColor color_;
    TColor lastColor_;
    int x_ = 0, y_ = 0;
    int fineX_ = 0, fineY_ = 0;
    std::int32_t delta_ = 256;
    bool inverted_ = false;
    bool twoSize_ = false;
    bool m16bit_ = false;
    int arrow_ = 0;
    std::unique_ptr<TTimer> repeatTimer_;
    bool dragging_ = false;
    bool pointerHidden_ = false;
    int scale_ = 1;
    QImage ball_;
    // The size the field was last painted at: until a paint at a new size nothing is drawn.
    TPoint paintedSize_{fieldSide(1), fieldSide(1)};
    bool painted_ = false;
};

}  // namespace trovelin
