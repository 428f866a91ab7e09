#pragma once
// What the two knobs hold alike: their own pen and brush, whose changes repaint the knob, the
// value range and value, and the change event that only the mouse raises.

#include <cstdint>

#include "framework/Control.h"
#include "framework/Graphics.h"

namespace trovelin {

class TCanvas;
struct KnobSquare;

class KnobControl : public TGraphicControl {
public:
    explicit KnobControl(Component* owner, std::int32_t max);

    TPen& pen() { return pen_; }
    TBrush& brush() { return brush_; }
    void setPen(const TPen& pen) { pen_.assign(pen); }
    void setBrush(const TBrush& brush) { brush_.assign(brush); }
    // For records: anything but a pen or brush is an invalid value.
    void assignPen(const Persistent* other);
    void assignBrush(const Persistent* other);

    std::int32_t min() const { return min_; }
    std::int32_t max() const { return max_; }
    std::int32_t position() const { return position_; }
    void setMin(std::int32_t value) { setParams(position_, value, max_); }
    void setMax(std::int32_t value) { setParams(position_, min_, value); }
    // The one place where the range changes: a reversed range becomes min..min+1, the position
    // is limited to it.
    void setParams(std::int32_t position, std::int32_t min, std::int32_t max);
    virtual void setPosition(std::int32_t value) = 0;

    // A left-button drag is in progress.
    bool down() const { return dragging_; }

    // A solid brush fills the rim's disc, over the marks and under the face: the square inside
    // it shows the knob alone, so that knobs stacked on one another paint what shows of them.
    TRect opaqueArea() const override;

    MethodRef onChange;
    TNotifyEvent onChangeHandler;

protected:
    // Pen and brush changes repaint.
    void styleChanged() { invalidate(); }
    // A position change from setParams; the label knob draws it, the dot knob only stores it.
    virtual void positionLimited(std::int32_t position) = 0;
    void change()
    {
        if (onChangeHandler) onChangeHandler(*this);
    }
    KnobSquare square() const;
    // The canvas takes the knob's pen and brush.
    void takeStyle(TCanvas& canvas) const;
    // The rim and the face of diameter `faceDiameter`, drawn with the knob pen's width.
    void paintRimAndFace(TCanvas& canvas, TColor facePen, int faceDiameter) const;

    std::int32_t position_ = 0;
    bool dragging_ = false;

private:
    TPen pen_;
    TBrush brush_;
    std::int32_t min_ = 0;
    std::int32_t max_;
};

}  // namespace trovelin
