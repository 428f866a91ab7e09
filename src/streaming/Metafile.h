#pragma once
// A metafile: enhanced (EMF) or placeable Windows (WMF) records, validated by their headers and
// kept, never rendered.

#include <cstdint>
#include <vector>

#include "streaming/Graphic.h"

namespace trovelin {

class TMetafile : public TGraphic {
public:
    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    // A 32-bit byte count L, then an EMF or a placeable WMF; refusals are "Metafile is not valid".
    void readData(Stream& stream) override;
    bool empty() const override { return records_.empty(); }
    // Size in screen pixels at 96 per inch, from the size in hundredths of a millimetre.
    int width() const override;
    int height() const override;
    std::unique_ptr<TGraphic> clone() const override;

    bool enhanced() const { return enhanced_; }
    // Size in hundredths of a millimetre.
    int mmWidth() const { return mmWidth_; }
    int mmHeight() const { return mmHeight_; }
    // The whole EMF, or the WMF records after the placeable header.
    const std::vector<std::uint8_t>& records() const { return records_; }

private:
    void install(std::vector<std::uint8_t> records, bool enhanced, int mmWidth, int mmHeight);

    std::vector<std::uint8_t> records_;
    bool enhanced_ = false;
    int mmWidth_ = 0;
    int mmHeight_ = 0;
};

}  // namespace trovelin
