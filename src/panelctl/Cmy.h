#pragma once
// The colour mixer: a colour disc (hue around it, saturation outward), an intensity bar beside
// it, a sample square of the mixed colour and a round reset button. Its value is three bytes of
// ink, or of red, green and blue when RGBset.

#include <cstdint>

#include "framework/Control.h"
#include "panelctl/CmyDisc.h"
#include "panelctl/CmyGeometry.h"
#include "panelfile/ColourMixerProperties.h"

namespace trovelin {

class TCMY : public TGraphicControl, public ColourMixerProperties {
public:
    explicit TCMY(Component* owner);

    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    std::uint8_t cyan() const { return cyan_; }
    std::uint8_t magenta() const { return magenta_; }
    std::uint8_t yellow() const { return yellow_; }
    bool rgbSet() const { return rgb_; }
    // The setters move the markers and redraw at once; none raises OnChange.
    void SetCyan(std::uint8_t value) override;
    void SetMagenta(std::uint8_t value) override;
    void SetYellow(std::uint8_t value) override;
    // Keeps the bytes, so they show the complementary colour.
    void SetRGB(bool value) override;
    // The colour the bytes stand for (red in the low byte).
    std::uint32_t mixedColor() const;
    // Sets the bytes to show `value`; system colours are resolved first.
    void SetColor(TColor value);

    // Recomputes the disc and bar positions from the bytes and redraws the parts they move.
    void SetPosition();
    // A press or drag at (x, y) on the disc, and at row y on the bar: they set the bytes from the
    // sample colour, without the setters and without OnChange.
    void MouseSetBall(int x, int y);
    void MouseSetIntensity(int y);

    // These replace the framework's handling: OnMouseDown, OnMouseMove and OnMouseUp are not raised.
    void paint(TCanvas& canvas) override;
    bool opaque() const override { return true; }
    void mouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void mouseMove(TShiftState shift, int x, int y) override;
    void mouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

    MethodRef onChange;
    TNotifyEvent onChangeHandler;

    // For tests and hosts: the layout, positions and mouse state. The disc and the bar are drawn
    // afresh for what each paint shows, and nothing of them is kept between paints.
    const CmyLayout& layout() const { return layout_; }
    const CmyPosition& position() const { return position_; }
    // The top left of the disc marker, relative to the disc.
    TPoint markerPosition() const { return marker_; }
    std::uint32_t sampleColor() const { return cmySampleColor(position_, layout_); }
    bool draggingDisc() const { return draggingDisc_; }
    bool draggingBar() const { return draggingBar_; }
    bool resetPressed() const { return resetPressed_; }

private:
    // What the drawing steps change on the control where it is shown.
    void BallPaint(TCanvas& canvas);
    void drawBar(TCanvas& canvas);
    void SamplePaint(TCanvas& canvas);
    void PPointPaint(TCanvas& canvas);
    void BPointPaint(TCanvas& canvas);
    void RButtonPaint(TCanvas& canvas);
    // SetPosition's work on a canvas: the full paint passes its own.
    void setPositionOn(TCanvas* canvas);
    TPoint markerTopLeft() const;
    void readBack();
    void setBytes(std::uint8_t cyan, std::uint8_t magenta, std::uint8_t yellow);
    void change();

    std::uint8_t cyan_ = 0;
    std::uint8_t magenta_ = 0;
    std::uint8_t yellow_ = 0;
    bool rgb_ = false;
    bool draggingDisc_ = false;
    bool draggingBar_ = false;
    bool resetPressed_ = false;
    int lastWidth_ = 0;
    int lastHeight_ = 0;
    CmyLayout layout_;
    CmyPosition position_;
    TPoint marker_;
};

}  // namespace trovelin
