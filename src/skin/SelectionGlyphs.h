#pragma once
// The glyph strips of the skinned check box and radio button: four 16 x 16 frames side by side
// (empty, disabled, hot checked, checked), kept in the program as pixel maps rather than loaded
// from files, so that no resource can be missing.

#include <string_view>

#include "streaming/Bitmap.h"

namespace trovelin {

inline constexpr int selectionStripWidth = 64;
inline constexpr int selectionStripHeight = 16;

// The strip of the bitmap resource `name`, "WCHECKBMP" or "WRADIOBMP" (letter case ignored); an
// empty bitmap for any other name.
TBitmap selectionStripResource(std::string_view name);

}  // namespace trovelin
