#pragma once
// Reading PNG files back with libpng as a black-box reference, without its default limit of a
// million rows, and making writes fail on purpose.

#include <sys/resource.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace trovelin::testing {

struct DecodedPng {
    int width = 0;
    int height = 0;
    int bitDepth = 0;
    int colorType = 0;  // as stored: 2 RGB, 3 palette
    std::vector<std::uint8_t> rgb;  // every row as 8-bit RGB, top first

    std::uint32_t rgbAt(int x, int y) const;  // 0x00RRGGBB
};

// Nothing when libpng refuses the bytes.
std::optional<DecodedPng> readPng(const std::vector<std::uint8_t>& bytes);
std::optional<DecodedPng> readPngFile(const std::string& path);

// While it lives, this process cannot write files longer than `bytes` (writes fail with
// "File too large" instead of raising a signal).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
};

// The names in `folder`, sorted.
std::vector<std::string> fileNames(const std::string& folder);

}  // namespace trovelin::testing
