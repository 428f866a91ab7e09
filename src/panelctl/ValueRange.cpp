#include "panelctl/ValueRange.h"

#include <algorithm>
#include <limits>

namespace trovelin {

bool ValueRange::setMin(std::int32_t value)
{
    value = std::min(value, std::numeric_limits<std::int32_t>::max() - 1);
    if (value == min) return false;
    min = value;
    if (min >= max) max = min + 1;
    return true;
}

bool ValueRange::setMax(std::int32_t value)
{
    value = std::max(value, std::numeric_limits<std::int32_t>::min() + 1);
    if (value == max) return false;
    max = value;
    if (min >= max) min = max - 1;
    return true;
}

}  // namespace trovelin
