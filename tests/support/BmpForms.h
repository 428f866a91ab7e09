#pragma once
// Every stored bitmap form that the decoder accepts, and random images of each, shared by the
// differential test, the fuzz seeds and the benchmark.

#include <random>
#include <string_view>
#include <vector>

#include "support/BmpWriter.h"

namespace trovelin::testing {

struct BmpForm {
    std::string_view name;
    int bitsPerPixel;
    BitmapCompression compression;
    bool topDown = false;
    bool coreHeader = false;
    std::uint32_t headerSize = 40;
    ColorMasks masks{};
};

const std::vector<BmpForm>& acceptedBmpForms();

// An image of `form` with a random colour table and random pixels (with runs in run-length forms).
BmpContent randomBmpContent(const BmpForm& form, int width, int height, std::mt19937& random);

}  // namespace trovelin::testing
