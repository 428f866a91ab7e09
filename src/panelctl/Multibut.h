#pragma once
// The multi-channel button: a round speed button that carries a channel value for each of the
// 256 channels of the lighting desk, stored in its record as the defined property "Channels".

#include <array>
#include <cstdint>

#include "framework/Geometry.h"
#include "framework/SpeedButton.h"

namespace trovelin {

class Reader;
class ValueWriter;

inline constexpr int multiButtonChannelCount = 256;
// Channels a record carries in the short form of "Channels".
inline constexpr int multiButtonShortChannels = 32;
inline constexpr std::int16_t unusedChannel = -1;

// Where the caption and the glyph go: one stack centred on the button, glyph above caption,
// both moved by `offset` while pressed. A button without caption passes a text height of 0.
struct MultiButtonContent {
    TPoint caption;
    TPoint glyph;
};
MultiButtonContent multiButtonContent(int width, int height, int textWidth, int textHeight, int glyphWidth,
                                      int glyphHeight, int offset);

class TMultiButton : public TSpeedButton {
public:
    explicit TMultiButton(Component* owner);

    // Adds Color to the speed button's properties.
    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    // These hide the control's colour on purpose: the disc's face colour never follows the parent.
    TColor color() const { return color_; }
    void setColor(TColor value);

    // -1 for an index outside 0..255; writing there is ignored. Neither repaints.
    std::int16_t channels(int index) const;
    void setChannels(int index, std::int16_t value);

    void defineProperties(Filer& filer) override;
    // "Channels": 32 integers (channels 0..31), or the count 256 followed by every channel.
    void readChannels(Reader& reader);
    void writeChannels(ValueWriter& writer) const;

    void paint(TCanvas& canvas) override;
    // Its face need not fill the bounds: what lies below may show.
    bool opaque() const override { return false; }
    // The rectangle inscribed in its disc, while it shows one.
    TRect opaqueArea() const override;

private:
    TColor color_ = clBtnFace;
    std::array<std::int16_t, multiButtonChannelCount> channels_;
};

}  // namespace trovelin
