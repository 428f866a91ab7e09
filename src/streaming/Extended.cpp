#include "streaming/Extended.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace trovelin {

double extendedToDouble(const std::array<std::uint8_t, 10>& bytes)
{
    std::uint64_t mantissa = 0;
    for (int i = 7; i >= 0; --i) mantissa = (mantissa << 8) | bytes[static_cast<std::size_t>(i)];
    unsigned signAndExponent = bytes[8] | (bytes[9] << 8);
    bool negative = (signAndExponent & 0x8000) != 0;
    int exponent = static_cast<int>(signAndExponent & 0x7FFF);

    double magnitude;
    if (exponent == 0x7FFF) {
        // Infinity has only the explicit integer bit set; anything else is a NaN.
        magnitude = (mantissa << 1) == 0 ? std::numeric_limits<double>::infinity()
                                         : std::numeric_limits<double>::quiet_NaN();
    } else if (mantissa == 0) {
        magnitude = 0.0;
    } else {
        // The mantissa holds an explicit integer bit at position 63. Scaling in long double
        // (64-bit mantissa here) keeps it exact, so results in double's subnormal range are
        // rounded once, not twice.
        int unbiased = (exponent == 0 ? 1 : exponent) - 16383 - 63;
        magnitude = static_cast<double>(std::ldexp(static_cast<long double>(mantissa), unbiased));
    }
    return negative ? -magnitude : magnitude;
}

}  // namespace trovelin
