// Writes an archive of generated panel files for the Python package's tests and benchmarks:
// FOLDERS folders of FILES panel files each (venue-F/show-I.kvr), each with a background of
// WIDTH x HEIGHT (8 bits on even files, 24 on odd ones) and one to four glyph strips, most of
// them shared across the archive so that --unique has copies to leave out.
//   make_test_archive OUT FOLDERS FILES WIDTH HEIGHT

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "support/BmpWriter.h"
#include "support/FileWriter.h"
#include "support/PanelFileWriter.h"
#include "support/RecordWriter.h"

namespace {

using namespace trovelin;
using namespace trovelin::testing;

std::vector<std::uint8_t> record(const std::string& className, const std::string& name, const char* property,
                                 const std::vector<std::uint8_t>& data)
{
    RecordWriter w;
    w.beginRecord(className, name).property(property).binary(data).end().end();
    return w.bytes();
}

std::vector<std::uint8_t> background(int file, int width, int height)
{
    BmpContent bmp;
    bmp.width = width;
    bmp.height = height;
    if (file % 2 == 0) {
        bmp.bitsPerPixel = 8;
        for (int i = 0; i < 256; ++i)
            bmp.colorTable.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i / 2 + file % 64),
                                      static_cast<std::uint8_t>(255 - i), 0});
        bmp.value = [file](int x, int y) { return static_cast<std::uint32_t>((x / 3 + y / 4 + file) % 256); };
    } else {
        bmp.value = [file](int x, int y) {
            return static_cast<std::uint32_t>(((x / 3 + file) % 256) << 16 | ((y / 2) % 256) << 8 | ((x + y) / 5 % 256));
        };
    }
    return picturePayload("TBitmap", bitmapPayload(makeBmp(bmp)));
}

std::vector<std::uint8_t> glyphStrip(int seed)
{
    BmpContent bmp;
    bmp.width = 64;
    bmp.height = 16;
    bmp.bitsPerPixel = 4;
    for (int i = 0; i < 16; ++i)
        bmp.colorTable.push_back({static_cast<std::uint8_t>(i * 16), static_cast<std::uint8_t>(seed * 37),
                                  static_cast<std::uint8_t>(255 - i * 16), 0});
    bmp.value = [seed](int x, int y) { return static_cast<std::uint32_t>((x * y + seed) % 16); };
    return bitmapPayload(makeBmp(bmp));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 6) {
        std::cerr << "usage: make_test_archive OUT FOLDERS FILES WIDTH HEIGHT\n";
        return 2;
    }
    const std::filesystem::path root = argv[1];
    const int folders = std::atoi(argv[2]), files = std::atoi(argv[3]);
    const int width = std::atoi(argv[4]), height = std::atoi(argv[5]);
    for (int folder = 0; folder < folders; ++folder) {
        const std::filesystem::path venue = root / ("venue-" + std::to_string(folder));
        std::filesystem::create_directories(venue);
        for (int i = 0; i < files; ++i) {
            const int file = folder * files + i;
            PanelFileContent content;
            content.title = "Show " + std::to_string(file);
            content.records.push_back(record("TImage", "Background", "Picture.Data", background(file, width, height)));
            for (int g = 0; g < 1 + file % 4; ++g)
                content.records.push_back(record("TSpeedButton", "Button" + std::to_string(g), "Glyph.Data",
                                                 glyphStrip((file + g) % 5 == 0 ? 100 + file : (file + g) % 8)));
            if (!writeFile((venue / ("show-" + std::to_string(i) + ".kvr")).string(), writePanelFile(content))) return 1;
        }
    }
    return 0;
}
