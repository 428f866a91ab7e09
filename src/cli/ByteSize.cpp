#include "cli/ByteSize.h"

#include <charconv>
#include <limits>

namespace trovelin::cli {

std::optional<std::uint64_t> parseByteSize(std::string_view text)
{
    std::uint64_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc{} || end == text.data()) return std::nullopt;
    const std::string_view suffix(end, static_cast<std::size_t>(text.data() + text.size() - end));
    int shift = 0;
    if (suffix == "K" || suffix == "k")
        shift = 10;
    else if (suffix == "M" || suffix == "m")
        shift = 20;
    else if (suffix == "G" || suffix == "g")
        shift = 30;
    else if (!suffix.empty())
        return std::nullopt;
    if (number == 0 || number > (std::numeric_limits<std::uint64_t>::max() >> shift)) return std::nullopt;
    return number << shift;
}

}  // namespace trovelin::cli
