#pragma once
// How a TFont becomes a Qt font: the faces that panel files name are drawn with installed
// faces of the same metrics where there are any, and text is drawn without smoothing, as the
// original platform drew it.

#include <QFont>

#include "framework/Font.h"

namespace trovelin {

// The Qt font for `font`, with the substitutions for the original platform's faces installed.
// Needs a QGuiApplication. Heights beyond maxFontPixels draw at that size.
QFont toQFont(const TFont& font);

inline constexpr int maxFontPixels = 1024;

}  // namespace trovelin
