#pragma once
// An icon: the bytes of an icon file, kept undecoded (nothing ever draws a stored icon).

#include <cstdint>
#include <vector>

#include "streaming/Graphic.h"

namespace trovelin {

// The platform's standard icon size, reported for every icon.
inline constexpr int standardIconSize = 32;

class TIcon : public TGraphic {
public:
    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    // Takes every remaining byte of the stream; fails with "Icon image is not valid" for a
    // directory type above 1.
    void readData(Stream& stream) override;
    bool empty() const override { return bytes_.empty(); }
    int width() const override { return standardIconSize; }
    int height() const override { return standardIconSize; }
    std::unique_ptr<TGraphic> clone() const override;

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace trovelin
