#pragma once
// The glyphs of the main window's two buttons, kept as the program stores any button glyph: the
// bytes of a "Glyph.Data" value (a 4-byte size, then a 16-colour BMP file of 16 x 16 pixels).
// Their bottom-left colour, dark yellow, is the one the buttons leave transparent.

#include <cstdint>
#include <vector>

#include "streaming/Bitmap.h"

namespace trovelin {

inline constexpr std::size_t mainWindowGlyphDataSize = 250;

// A folder with an upward arrow, for the button that goes one folder up.
std::vector<std::uint8_t> ViewLevelUpGlyphData();
// A window showing a grid of small icons, for the button that picks the file list's view.
std::vector<std::uint8_t> ViewIconsGlyphData();

// Glyph data decoded by the program's own bitmap reader.
TBitmap decodeGlyphData(const std::vector<std::uint8_t>& data);

}  // namespace trovelin
