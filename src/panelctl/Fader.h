#pragma once
// What the vertical and the horizontal fader share: a sunken slot with ticks and a knob that sets
// a value between Min and Max, with an optional fine slot for the low byte of a 16-bit value, a
// hint of the value under the pointer, and right-button steps that repeat while held.

#include <cstdint>
#include <memory>
#include <vector>

#include <QImage>

#include "framework/Control.h"
#include "framework/HintWindow.h"
#include "framework/PaintBuffer.h"
#include "panelctl/FaderGeometry.h"
#include "panelctl/FaderPainting.h"
#include "panelctl/ValueRange.h"

namespace trovelin {

class TTimer;

class TFader : public TGraphicControl {
public:
    TFader(Component* owner, FaderAxis axis);
    ~TFader() override;

    // The published properties both faders list, in their order.
    static std::vector<PropertyInfo> publishedProperties();

    FaderAxis axis() const { return axis_; }

    std::int32_t min() const { return range_.min; }
    // Pushes Max up to keep Min < Max, and the position into the range; repaints.
    void setMin(std::int32_t value);
    std::int32_t max() const { return range_.max; }
    // Pushes Min down to keep Min < Max, and the position into the range; repaints.
    void setMax(std::int32_t value);
    std::int32_t add() const { return add_; }
    void setAdd(std::int32_t value) { add_ = value; }
    std::int32_t position() const { return position_; }
    // Limits the value to Min..Max and moves the knob on screen without a full paint. Setters
    // never raise OnChange; only the user's input does.
    void setPosition(std::int32_t value);
    std::int32_t finePosition() const { return finePosition_; }
    // Ignored unless M16bit is set, so a record that lists FinePosition before M16bit loads 0.
    void setFinePosition(std::int32_t value);
    // The knob colour hides the control's colour on purpose: ParentColor keeps its framework
    // meaning for the control's own colour, while clBtnFace here means the parent's colour.
    TColor color() const { return color_; }
    void setColor(TColor value);
    bool inverted() const { return inverted_; }
    void setInverted(bool value);
    bool m16bit() const { return m16bit_; }
    void set16bit(bool value);

    // Shows value + Add next to the pointer while the pointer is over the control.
    using TControl::setHint;
    void setHint(int value);

    MethodRef onChange;
    TNotifyEvent onChangeHandler;

    // The backing bitmaps cover only what the canvas shows of the control, whatever size a record
    // gives it; they are kept (within the paint buffers' budget) only while the control shows
    // whole, since a control shown in part paints again to move its knob.
    void paint(TCanvas& canvas) override;
    bool opaque() const override { return true; }
    // These replace the framework's handling: OnMouseDown, OnMouseMove and OnMouseUp are not raised.
    void mouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void mouseMove(TShiftState shift, int x, int y) override;
    void mouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void mouseEnter() override;
    void mouseLeave() override;

    // For tests and hosts: the drag and hint state, the repeat timer and the backing bitmaps
    // (each of what the last paint showed of the background or the knob; null when not kept).
    bool dragging() const { return dragging_; }
    bool draggingFine() const { return draggingFine_; }
    bool mouseInside() const { return mouseInside_; }
    const TTimer* repeatTimer() const { return repeatTimer_.get(); }
    const QImage& backgroundBitmap() const { return background_.peek(); }
    const QImage& knobBitmap() const { return knob_.peek(); }

protected:
    // The drawing of the two bitmaps, which skinned faders do their own way.
    virtual void paintBackgroundBitmap(TCanvas& canvas, const FaderLayout& layout, TColor parentColor);
    virtual void paintKnobBitmap(TCanvas& canvas, const FaderLayout& layout, TColor knobColor, TColor parentColor);
    // Skinned faders without M16bit erase a moving knob by drawing the whole background again.
    virtual bool redrawsBackgroundForKnob() const { return false; }
    THintWindow& hintWindow() { return hintWindow_; }

private:
    FaderLayout layout() const;
    bool descending() const;
    // The pointer coordinate along the travel, and across it.
    int along(int x, int y) const { return axis_ == FaderAxis::Vertical ? y : x; }
    int across(int x, int y) const { return axis_ == FaderAxis::Vertical ? x : y; }
    // Sets the fine or the coarse value through its setter, which limits it.
    void setValue(bool fine, std::int64_t value);
    int knobOffset() const;
    int fineKnobOffset() const;
    // Erases the knob part within columns (rows across) crossFrom..crossTo at `offset` (or the
    // whole control) and draws it again at `newOffset`, on the control as shown.
    void moveKnob(int crossFrom, int crossTo, int offset, int newOffset, bool wholeBackground);
    TColor parentBrushColor() const;
    void onTimer();
    void change();
    void stopRepeating();

    FaderAxis axis_;
    THintWindow hintWindow_;
    TColor color_;
    std::int32_t position_ = 0;
    std::int32_t finePosition_ = 0;
    ValueRange range_;
    std::int32_t add_ = 0;
    bool m16bit_ = false;
    bool inverted_ = false;
    std::unique_ptr<TTimer> repeatTimer_;
    bool dragging_ = false;
    bool draggingFine_ = false;
    TMouseButton dragButton_ = TMouseButton::mbLeft;
    bool mouseInside_ = false;
    // In the control's and the knob's coordinates.
    PaintBuffer knob_;
    PaintBuffer background_;
    // The last paint showed only part of the control: a moving knob then needs a paint, since
    // the bitmaps would lack what it may uncover.
    bool partlyShown_ = false;
};

}  // namespace trovelin
