#include "streaming/TypeInfo.h"

namespace trovelin {

namespace {
char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
}  // namespace

bool sameText(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i])) return false;
    return true;
}

std::optional<int> EnumType::ordinalOf(std::string_view name) const
{
    for (std::size_t i = 0; i < names_.size(); ++i)
        if (sameText(names_[i], name)) return static_cast<int>(i);
    return std::nullopt;
}

const EnumType& booleanType()
{
    static const EnumType type{"False", "True"};
    return type;
}

std::optional<std::int32_t> ConstantTable::valueOf(std::string_view name) const
{
    for (const auto& [entryName, value] : entries_)
        if (sameText(entryName, name)) return value;
    return std::nullopt;
}

}  // namespace trovelin
