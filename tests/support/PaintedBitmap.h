#pragma once
// Bitmaps of 24 or 32 bits per pixel whose every pixel a test chooses, for the places that
// show, copy or paint pictures.

#include <functional>

#include <QColor>

#include "streaming/Bitmap.h"

namespace trovelin::testing {

// Pixel (x, y) takes colourOf(x, y); the unused fourth byte of 32-bit pixels stays 0.
TBitmap paintedBitmap(int width, int height, int bitsPerPixel, const std::function<QColor(int, int)>& colourOf);

}  // namespace trovelin::testing
