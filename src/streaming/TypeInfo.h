#pragma once
// Names that stored values refer to: enumeration and set element names, and the named
// constants that some integer properties accept. Look-ups ignore ASCII letter case.

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace trovelin {

bool sameText(std::string_view a, std::string_view b);

// An enumeration: ordinal i is names[i]. Also the element type of a set.
class EnumType {
public:
    EnumType(std::initializer_list<std::string_view> names) : names_(names) {}

    std::optional<int> ordinalOf(std::string_view name) const;
    std::string_view nameOf(int ordinal) const { return names_.at(static_cast<std::size_t>(ordinal)); }
    int count() const { return static_cast<int>(names_.size()); }

private:
    std::vector<std::string_view> names_;
};

const EnumType& booleanType();  // "False", "True"

// Identifiers that an integer property accepts in place of a number.
class ConstantTable {
public:
    using Entry = std::pair<std::string_view, std::int32_t>;
    ConstantTable(std::initializer_list<Entry> entries) : entries_(entries) {}

    std::optional<std::int32_t> valueOf(std::string_view name) const;
    const std::vector<Entry>& entries() const { return entries_; }

private:
    std::vector<Entry> entries_;
};

}  // namespace trovelin
