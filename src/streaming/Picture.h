#pragma once
// The picture holder of an image control: the "Data" defined property of "Picture".
// Its payload names a graphic class before the graphic's own data. The graphic decoders
// are not built yet; until they are, the holder keeps the payload and holds no graphic.

#include <cstdint>
#include <span>
#include <vector>

#include "streaming/Persistent.h"

namespace trovelin {

class TPicture : public Persistent {
public:
    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }
    void defineProperties(Filer& filer) override;

    // Copies `other`, or leaves the holder without a graphic when `other` is null.
    void assign(const TPicture* other);
    bool hasGraphic() const { return false; }
    std::span<const std::uint8_t> storedPayload() const { return payload_; }

private:
    std::vector<std::uint8_t> payload_;
};

}  // namespace trovelin
