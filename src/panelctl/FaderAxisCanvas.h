#pragma once
// A canvas seen across and along a fader's travel, so that one drawing serves both axes: a
// vertical fader's "across" is x, a horizontal one's is y.

#include "framework/Canvas.h"
#include "panelctl/FaderPainting.h"

namespace trovelin {

class AxisCanvas {
public:
    AxisCanvas(TCanvas& canvas, const FaderLayout& layout) : canvas_(canvas), layout_(layout) {}

    void pen(TColor color) { canvas_.pen().setColor(color); }
    void brush(TColor color) { canvas_.brush().setColor(color); }
    void moveTo(int across, int along)
    {
        const TPoint p = at(across, along);
        canvas_.moveTo(p.x, p.y);
    }
    void lineTo(int across, int along)
    {
        const TPoint p = at(across, along);
        canvas_.lineTo(p.x, p.y);
    }
    void line(int acrossFrom, int acrossTo, int along)
    {
        moveTo(acrossFrom, along);
        lineTo(acrossTo, along);
    }
    void rectangle(int acrossFrom, int alongFrom, int acrossTo, int alongTo)
    {
        canvas_.rectangle(layout_.rect(acrossFrom, alongFrom, acrossTo, alongTo));
    }
    void fillRect(int acrossFrom, int alongFrom, int acrossTo, int alongTo)
    {
        canvas_.fillRect(layout_.rect(acrossFrom, alongFrom, acrossTo, alongTo));
    }
    void setPixel(int across, int along, TColor color)
    {
        const TPoint p = at(across, along);
        canvas_.setPixel(p.x, p.y, color);
    }

private:
    TPoint at(int across, int along) const
    {
        return layout_.axis == FaderAxis::Vertical ? TPoint{across, along} : TPoint{along, across};
    }

    TCanvas& canvas_;
    const FaderLayout& layout_;
};

}  // namespace trovelin
