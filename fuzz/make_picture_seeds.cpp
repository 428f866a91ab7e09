// Writes the seed corpora of fuzz_bitmap and fuzz_picture: usage
// make_picture_seeds <bitmap directory> <picture directory>.
// Bitmap seeds are small images of every accepted form; picture seeds wrap some of them and add
// icons and both metafile forms.

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "support/BmpForms.h"
#include "support/FileWriter.h"

namespace {

using namespace trovelin::testing;

std::vector<std::uint8_t> placeableMetafile()
{
    std::vector<std::uint8_t> header;
    putU32(header, 0x9AC6CDD7);
    for (std::uint32_t v : {0u, 0u, 0u, 100u, 50u, 1440u}) putU16(header, v);
    putU32(header, 0);
    std::uint16_t checksum = 0;
    for (std::size_t i = 0; i < 20; i += 2) checksum ^= static_cast<std::uint16_t>(header[i] | (header[i + 1] << 8));
    putU16(header, checksum);
    const std::vector<std::uint8_t> records{1, 0, 9, 0, 0, 3, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0};
    std::vector<std::uint8_t> data;
    putU32(data, static_cast<std::uint32_t>(4 + header.size() + records.size()));
    data.insert(data.end(), header.begin(), header.end());
    data.insert(data.end(), records.begin(), records.end());
    return data;
}

std::vector<std::uint8_t> enhancedMetafile()
{
    std::vector<std::uint8_t> data;
    putU32(data, 0);
    std::vector<std::uint8_t> emf(108, 0);
    patchU32(emf, 0, 1);
    patchU32(emf, 4, 108);
    patchU32(emf, 32, 2000);
    patchU32(emf, 36, 1000);
    patchU32(emf, 40, 0x464D4520);
    patchU32(emf, 48, 108);
    data.insert(data.end(), emf.begin(), emf.end());
    return data;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_picture_seeds <bitmap directory> <picture directory>\n");
        return 2;
    }
    const std::string bitmaps = argv[1];
    const std::string pictures = argv[2];
    std::mt19937 random(7);
    bool ok = true;
    int n = 0;
    for (const BmpForm& form : acceptedBmpForms()) {
        const auto payload = bitmapPayload(makeBmp(randomBmpSpec(form, 5, 3, random)));
        ok &= writeFile(bitmaps + "/form-" + std::to_string(n) + ".bin", payload);
        ok &= writeFile(pictures + "/bitmap-" + std::to_string(n++) + ".bin", picturePayload("TBitmap", payload));
    }
    ok &= writeFile(bitmaps + "/empty.bin", {0, 0, 0, 0});
    ok &= writeFile(pictures + "/icon.bin", picturePayload("TIcon", {0, 0, 1, 0, 1, 0, 16, 16, 0, 0}));
    ok &= writeFile(pictures + "/wmf.bin", picturePayload("TMetafile", placeableMetafile()));
    ok &= writeFile(pictures + "/emf.bin", picturePayload("TMetafile", enhancedMetafile()));
    ok &= writeFile(pictures + "/unknown.bin", picturePayload("TJPEGImage", {1, 2, 3}));
    return ok ? 0 : 1;
}
