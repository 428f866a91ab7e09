#include "skin/SelectionGlyphs.h"

#include <array>
#include <memory>

#include "streaming/DibImage.h"
#include "streaming/TypeInfo.h"

namespace trovelin {
namespace {

using PixelMap = std::array<std::string_view, selectionStripHeight>;

// The background ('.') of each map is its own transparent colour: olive here, pure red for the
// radio button.
constexpr PixelMap checkMap{
    "................................................................",
    "................................................................",
    "...ggggggggggg.....ggggggggggg.....ggggggggggg.....ggggggggggg..",
    "..ggdddddddddd....ggdddddddddd....ggdddddddddd....ggdddddddddd..",
    ".ggddwwwwwwwgd...ggddmmmmmmmgd...ggddbbbbbbbgd...ggddwwwwwwwgd..",
    ".gddwwwwwwwwgd...gddmmmmmmmmgd...gddbbbbbbgbgd...gddwwwwwwgwgd..",
    ".gdwwwwwwwwwgd...gdmmmmmmmmmgd...gdbbbbbbgkbgd...gdwwwwwwgkwgd..",
    ".gdwwwwwwwwwgd...gdmmmmmmmmmgd...gdbgbbbgkkbgd...gdwgwwwgkkwgd..",
    ".gdwwwwwwwwwgd...gdmmmmmmmmmgd...gdbkgbgkksbgd...gdwkgwgkkswgd..",
    ".gdwwwwwwwwwgd...gdmmmmmmmmmgd...gdbkkgkksbbgd...gdwkkgkkswwgd..",
    ".gdwwwwwwwwwgd...gdmmmmmmmmmgd...gdbbkkksbbbgd...gdwwkkkswwwgd..",
    ".gdwwwwwwwwggd...gdmmmmmmmmggd...gdbbbksbbbggd...gdwwwkswwwggd..",
    ".gdwwwwwwwggdd...gdmmmmmmmggdd...gdbbbbbbbggdd...gdwwwwwwwggdd..",
    ".ggggggggggdd....ggggggggggdd....ggggggggggdd....ggggggggggdd...",
    ".ddddddddddd.....ddddddddddd.....ddddddddddd.....ddddddddddd....",
    "................................................................",
};

constexpr PixelMap radioMap{
    "................................................................",
    "................................................................",
    "....gggggggggg......gggggggggg......gggggggggg......gggggggggg..",
    "...gddddddddgg.....gddddddddgg.....gddddddddgg.....gddddddddgg..",
    "..gddwwwwwdddg....gddmmmmmdddg....gddbbbbbdddg....gddwwwwwdddg..",
    ".gddwwwwwwwgdd...gddmmmmmmmgdd...gddbbbbbbbgdd...gddwwwwwwwgdd..",
    ".gdswwwwwwwsgd...gdsmmmmmmmsgd...gdobbdkdbbogd...gdswwdkdwwsgd..",
    ".gdwwwwwwwwwgd...gdmmmmmmmmmgd...gdbbdkkkdbbgd...gdwwdkkkdwwgd..",
    ".gdwwwwwwwwwgd...gdmmmmmmmmmgd...gdbbkkkkkbbgd...gdwwkkkkkwwgd..",
    ".gdwwwwwwwwwgd...gdmmmmmmmmmgd...gdbbdkkkdbbgd...gdwwdkkkdwwgd..",
    ".gdswwwwwwwsgd...gdsmmmmmmmsgd...gdobbdkdbbogd...gdswwdkdwwsgd..",
    ".ggdwwwwwwwggd...ggdmmmmmmmggd...ggdbbbbbbbggd...ggdwwwwwwwggd..",
    ".dgggwwwwwggd....dgggmmmmmggd....dgggbbbbbggd....dgggwwwwwggd...",
    ".ddggggggggd.....ddggggggggd.....ddggggggggd.....ddggggggggd....",
    ".gddddddddd......gddddddddd......gddddddddd......gddddddddd.....",
    "................................................................",
};

struct MapColour {
    char letter;
    std::uint8_t red, green, blue;
};

constexpr MapColour palette[] = {
    {'g', 128, 128, 128}, {'d', 64, 64, 64},    {'w', 255, 255, 255}, {'m', 192, 220, 192},
    {'b', 166, 202, 240}, {'k', 0, 0, 0},       {'s', 192, 192, 192}, {'o', 96, 160, 192},
};

TBitmap stripFromMap(const PixelMap& map, MapColour background)
{
    auto image = std::make_shared<DibImage>(selectionStripWidth, selectionStripHeight, 32);
    for (int y = 0; y < selectionStripHeight; ++y) {
        std::uint8_t* row = image->scanLine(y);
        for (int x = 0; x < selectionStripWidth; ++x) {
            MapColour colour = background;
            for (const MapColour& entry : palette)
                if (entry.letter == map[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]) colour = entry;
            row[4 * x] = colour.blue;
            row[4 * x + 1] = colour.green;
            row[4 * x + 2] = colour.red;
            row[4 * x + 3] = 0;
        }
    }
    TBitmap strip;
    strip.setImage(std::move(image));
    return strip;
}

}  // namespace

TBitmap selectionStripResource(std::string_view name)
{
    // Built once and shared by every widget's copy, as the resources of a program are: a group
    // of many radio buttons then holds one strip, not one each.
    static const TBitmap check = stripFromMap(checkMap, {'.', 128, 128, 0});
    static const TBitmap radio = stripFromMap(radioMap, {'.', 255, 0, 0});
    if (sameText(name, "WCHECKBMP")) return check;
    if (sameText(name, "WRADIOBMP")) return radio;
    return {};
}

}  // namespace trovelin
