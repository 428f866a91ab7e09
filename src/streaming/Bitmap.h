#pragma once
// A bitmap as records store it: the "Data" defined property of a glyph.
// The pixel decoder is not built yet; until it is, a bitmap keeps its stored payload
// undecoded and holds no pixels, so it reports itself empty.

#include <cstdint>
#include <span>
#include <vector>

#include "streaming/Persistent.h"

namespace trovelin {

class TBitmap : public Persistent {
public:
    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }
    void defineProperties(Filer& filer) override;

    // Copies `other`, or empties this bitmap when `other` is null.
    void assign(const TBitmap* other);
    bool empty() const { return true; }
    std::span<const std::uint8_t> storedPayload() const { return payload_; }

private:
    std::vector<std::uint8_t> payload_;
};

}  // namespace trovelin
