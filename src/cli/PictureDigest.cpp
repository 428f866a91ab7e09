#include "cli/PictureDigest.h"

#include <openssl/evp.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "streaming/DibImage.h"

namespace trovelin::cli {

namespace {

// OpenSSL's SHA-256 uses the processor's SHA instructions where there are any, which keeps the
// digest several times cheaper than encoding the picture.
class Sha256 {
public:
    Sha256() : context_(EVP_MD_CTX_new(), EVP_MD_CTX_free)
    {
        if (!context_ || EVP_DigestInit_ex(context_.get(), EVP_sha256(), nullptr) != 1) throw std::bad_alloc();
    }
    void add(const void* bytes, std::size_t count) { EVP_DigestUpdate(context_.get(), bytes, count); }
    void addU32(std::uint32_t value)
    {
        const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                       static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
        add(bytes, sizeof bytes);
    }
    std::string hex()
    {
        std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
        unsigned int length = 0;
        EVP_DigestFinal_ex(context_.get(), digest.data(), &length);
        static const char digits[] = "0123456789abcdef";
        std::string text;
        for (unsigned int i = 0; i < length; ++i) {
            text += digits[digest[i] >> 4];
            text += digits[digest[i] & 15];
        }
        return text;
    }

private:
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context_;
};

void addIndexedRows(Sha256& hash, const DibImage& image)
{
    const int depth = image.bitsPerPixel();
    std::vector<std::uint8_t> palette((std::size_t{1} << depth) * 3, 0);
    for (std::size_t i = 0; i < image.colorTable.size() && i * 3 < palette.size(); ++i) {
        palette[i * 3] = image.colorTable[i].red;
        palette[i * 3 + 1] = image.colorTable[i].green;
        palette[i * 3 + 2] = image.colorTable[i].blue;
    }
    hash.add(palette.data(), palette.size());
    const std::size_t usedBits = static_cast<std::size_t>(image.width()) * static_cast<std::size_t>(depth);
    const std::size_t rowBytes = (usedBits + 7) / 8;
    const auto lastByteMask = static_cast<std::uint8_t>(usedBits % 8 == 0 ? 0xFF : 0xFF << (8 - usedBits % 8));
    std::vector<std::uint8_t> row(rowBytes);
    for (int y = 0; y < image.height(); ++y) {
        std::memcpy(row.data(), image.scanLine(y), rowBytes);
        row.back() &= lastByteMask;
        hash.add(row.data(), rowBytes);
    }
}

void addColourRows(Sha256& hash, const DibImage& image)
{
    const auto width = static_cast<std::size_t>(image.width());
    if (image.bitsPerPixel() == 24) {
        for (int y = 0; y < image.height(); ++y) hash.add(image.scanLine(y), width * 3);
        return;
    }
    const bool fixedLayout = image.bitsPerPixel() == 32 && (image.masks == ColorMasks{} ||
                                                            image.masks == ColorMasks{0xFF0000, 0x00FF00, 0x0000FF});
    std::vector<std::uint8_t> row(width * 3);
    for (int y = 0; y < image.height(); ++y) {
        const std::uint8_t* pixels = image.scanLine(y);
        if (fixedLayout) {
            for (std::size_t x = 0; x < width; ++x) std::memcpy(&row[x * 3], pixels + x * 4, 3);
            hash.add(row.data(), row.size());
            continue;
        }
        for (std::size_t x = 0; x < width; ++x) {
            const std::uint32_t colour = image.pixel(static_cast<int>(x), y);  // red in the low byte
            row[x * 3] = static_cast<std::uint8_t>(colour >> 16);
            row[x * 3 + 1] = static_cast<std::uint8_t>(colour >> 8);
            row[x * 3 + 2] = static_cast<std::uint8_t>(colour);
        }
        hash.add(row.data(), row.size());
    }
}

}  // namespace

std::string pictureDigest(const DibImage* image)
{
    Sha256 hash;
    hash.addU32(image ? static_cast<std::uint32_t>(image->width()) : 0);
    hash.addU32(image ? static_cast<std::uint32_t>(image->height()) : 0);
    if (image) {
        const int depth = image->bitsPerPixel();
        const std::uint8_t shownDepth = depth <= 8 ? static_cast<std::uint8_t>(depth) : 24;
        hash.add(&shownDepth, 1);
        if (depth <= 8)
            addIndexedRows(hash, *image);
        else
            addColourRows(hash, *image);
    }
    return hash.hex();
}

}  // namespace trovelin::cli
