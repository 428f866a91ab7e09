#pragma once
// A panel file for timing large pictures: one 1024 x 768 24-bit background of smooth shading
// with a little grain, as scanned or rendered backgrounds have, different for every seed.

#include <cstdint>
#include <vector>

namespace trovelin::testing {

std::vector<std::uint8_t> shadedBackgroundPanel(int seed);

}  // namespace trovelin::testing
