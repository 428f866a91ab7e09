#pragma once
// BMP files of the program's pictures, at the picture's own depth: indexed pictures keep their
// colour table, bit-field pictures their masks. Rows are stored bottom-up, the form every reader
// of the format accepts.

#include <cstdint>
#include <vector>

#include "streaming/DibImage.h"

namespace trovelin {

std::vector<std::uint8_t> encodeBmp(const DibImage& image);

}  // namespace trovelin
