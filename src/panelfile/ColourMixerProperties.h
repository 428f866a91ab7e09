#pragma once
// The colour mixer's values that its records carry. The mixer's record reader sets them through
// the control's own setters, in record order; the control lives with the panel controls, which
// the loader's library cannot name, so it is reached through this interface.

#include <cstdint>

namespace trovelin {

class ColourMixerProperties {
public:
    virtual ~ColourMixerProperties() = default;
    virtual void SetCyan(std::uint8_t value) = 0;
    virtual void SetMagenta(std::uint8_t value) = 0;
    virtual void SetYellow(std::uint8_t value) = 0;
    virtual void SetRGB(bool value) = 0;
};

}  // namespace trovelin
