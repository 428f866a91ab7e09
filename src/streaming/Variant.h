#pragma once
// The value of a variant-kind property: one of the types a record can store for it.

#include <cstdint>
#include <string>
#include <variant>

namespace trovelin {

struct VariantUnassigned {
    bool operator==(const VariantUnassigned&) const = default;
};
struct VariantNull {
    bool operator==(const VariantNull&) const = default;
};
struct Currency {
    std::int64_t scaled;  // the amount times 10000
    bool operator==(const Currency&) const = default;
};
struct DateTime {
    double days;
    bool operator==(const DateTime&) const = default;
};

using Variant = std::variant<VariantUnassigned, VariantNull, std::int32_t, double, float, bool, Currency,
                             DateTime, std::string, std::u16string>;

}  // namespace trovelin
