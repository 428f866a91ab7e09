#include "support/PngReference.h"

#include <png.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace trovelin::testing {

namespace {

struct MemoryInput {
    const std::vector<std::uint8_t>& bytes;
    std::size_t position = 0;
};

void readFromMemory(png_structp png, png_bytep target, png_size_t length)
{
    auto* input = static_cast<MemoryInput*>(png_get_io_ptr(png));
    if (input->bytes.size() - input->position < length) png_error(png, "read past the end");
    std::copy_n(input->bytes.data() + input->position, length, target);
    input->position += length;
}

}  // namespace

std::uint32_t DecodedPng::rgbAt(int x, int y) const
{
    const std::uint8_t* p = rgb.data() + (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + x) * 3;
    return (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
}

std::optional<DecodedPng> readPng(const std::vector<std::uint8_t>& bytes)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    MemoryInput input{bytes};
    DecodedPng result;
    std::vector<png_bytep> rows;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return std::nullopt;
    }
    png_set_user_limits(png, 0x7FFFFFFF, 0x7FFFFFFF);
    png_set_read_fn(png, &input, readFromMemory);
    png_read_info(png, info);
    result.width = static_cast<int>(png_get_image_width(png, info));
    result.height = static_cast<int>(png_get_image_height(png, info));
    result.bitDepth = png_get_bit_depth(png, info);
    result.colorType = png_get_color_type(png, info);
    png_set_palette_to_rgb(png);
    png_set_expand_gray_1_2_4_to_8(png);
    png_set_strip_16(png);
    png_set_strip_alpha(png);
    png_read_update_info(png, info);
    result.rgb.resize(static_cast<std::size_t>(result.width) * static_cast<std::size_t>(result.height) * 3);
    for (int y = 0; y < result.height; ++y)
        rows.push_back(result.rgb.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(result.width) * 3);
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return result;
}

std::optional<DecodedPng> readPngFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
    return readPng(bytes);
}

FileSizeLimit::FileSizeLimit(rlim_t bytes)
{
    std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &saved_);
    const rlimit limit{bytes, saved_.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit()
{
    setrlimit(RLIMIT_FSIZE, &saved_);
}

std::vector<std::string> fileNames(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace trovelin::testing
