#pragma once
// The skinned scroll bar: a track with an arrow button at each end and a draggable thumb, in
// the skinned speed button's colours; held arrows and track repeat, arrow and page keys step it.

#include <cstdint>
#include <memory>


#include "framework/PaintBuffer.h"
#include "framework/WinControl.h"
#include "skin/SkinPalette.h"

namespace trovelin {

class TTimer;

enum class TScrollBarKind { sbHorizontal, sbVertical };

// Where a left press landed, and so what a held button repeats.
enum class ScrollZone { none, firstArrow, lastArrow, trackBeforeThumb, trackAfterThumb, thumb };

class TWScrollBar : public TCustomControl {
public:
    explicit TWScrollBar(Component* owner);
    ~TWScrollBar() override;

    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    // These hide the control's sizes on purpose: a resize keeps at least 48 along the bar and 10
    // across it, once the record that sets them has been read.
    void setWidth(std::int32_t value);
    void setHeight(std::int32_t value);
    void loaded() override;

    TScrollBarKind kind() const { return kind_; }
    // Turns the bar round (swapping Width and Height) when its shape does not fit the kind.
    void setKind(TScrollBarKind value);
    // Min, Max, SmallChange, LargeChange and PageSize are only stored.
    std::int32_t min() const { return min_; }
    void setMin(std::int32_t value) { min_ = value; }
    std::int32_t max() const { return max_; }
    void setMax(std::int32_t value) { max_ = value; }
    std::int32_t smallChange() const { return smallChange_; }
    void setSmallChange(std::int32_t value) { smallChange_ = value; }
    std::int32_t largeChange() const { return largeChange_; }
    void setLargeChange(std::int32_t value) { largeChange_ = value; }
    std::int32_t pageSize() const { return pageSize_; }
    void setPageSize(std::int32_t value) { pageSize_ = value; }
    std::int32_t position() const { return position_; }
    // Limited to Min..Max (Min wins when Max lies below it); never raises OnChange.
    void setPosition(std::int64_t value);

    // As for the skinned speed button, except that the parent's colour is never taken.
    TColor color() const { return colouring_.color(); }
    void setColor(TColor value);
    bool parentColor() const { return colouring_.parentColor(); }
    void setParentColor(bool value);
    const SkinPalette& palette() const { return colouring_.palette(); }

    // Each steps Position and raises OnChange, even when the limit left Position as it was.
    void UpClick();
    void DownClick();
    void LargeUpClick();
    void LargeDownClick();

    MethodRef onChange;
    TNotifyEvent onChangeHandler;

    // The arrow buttons' length along the bar: its thickness, or a third of a short bar.
    int buttonSize() const;
    // Where the thumb starts along the bar. With Max not above Min it rests next to the first
    // arrow, as it does at Min.
    int thumbOffset() const;
    ScrollZone zone() const { return zone_; }
    bool mouseOver() const { return mouseOver_; }
    bool hasFocus() const { return hasFocus_; }
    const TTimer* repeatTimer() const { return repeatTimer_.get(); }

    void paint(TCanvas& canvas) override;
    void mouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void mouseMove(TShiftState shift, int x, int y) override;
    void mouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void mouseEnter() override;
    void mouseLeave() override;
    void keyDown(int& key, TShiftState shift) override;

protected:
    void doEnter() override;
    void doExit() override;
    void enabledChanged() override;

private:
    struct Shape;
    Shape shape() const;
    void keepMinimumSize();
    void stepBy(std::int64_t delta);
    void startRepeat();
    void repeat();
    void paintOnce(TCanvas& canvas);
    // Draws the first arrow, the last arrow or the thumb into `image`, in the button's coordinates.
    void BallPoolPaint(PaintBuffer& image, ScrollZone button, const Shape& shape);

    TScrollBarKind kind_ = TScrollBarKind::sbHorizontal;
    std::int32_t min_ = 0;
    std::int32_t max_ = 100;
    std::int32_t position_ = 0;
    std::int32_t smallChange_ = 1;
    std::int32_t largeChange_ = 1;
    std::int32_t pageSize_ = 0;
    SkinColouring colouring_;
    ScrollZone zone_ = ScrollZone::none;
    bool mouseOver_ = false;
    bool hasFocus_ = false;
    std::unique_ptr<TTimer> repeatTimer_;
    bool painting_ = false;
    bool paintAgain_ = false;
};

}  // namespace trovelin
