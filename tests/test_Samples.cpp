// The sample panels: the committed files are what the generator makes, and harvesting them
// gives exactly the pictures the generator put in.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "cli/Harvest.h"
#include "panelfile/Json.h"
#include "support/SamplePanels.h"

namespace trovelin {
namespace {

const std::filesystem::path samplesFolder = std::filesystem::path(TROVELIN_SOURCE_DIR) / "samples";

TEST(Samples, TheCommittedFilesAreWhatTheGeneratorMakes)
{
    for (const testing::SamplePanel& panel : testing::samplePanels()) {
        std::ifstream file(samplesFolder / panel.fileName, std::ios::binary);
        const std::vector<std::uint8_t> committed((std::istreambuf_iterator<char>(file)), {});
        EXPECT_TRUE(committed == panel.bytes) << panel.fileName << ": run make_sample_panels samples";
    }
}

TEST(Samples, HarvestingThemGivesThePicturesTheGeneratorPutIn)
{
    std::string expected = "{\"pictures\":[";
    int index = 0;
    std::vector<testing::SamplePanel> panels = testing::samplePanels();
    std::sort(panels.begin(), panels.end(), [](const auto& a, const auto& b) { return a.fileName < b.fileName; });
    for (const testing::SamplePanel& panel : panels) {
        for (const testing::SamplePicture& picture : panel.pictures) {
            expected += (index ? "," : "") + std::string("{\"index\":") + std::to_string(index) +
                        ",\"width\":" + std::to_string(picture.width) + ",\"height\":" +
                        std::to_string(picture.height) + ",\"bpp\":" + std::to_string(picture.bitsPerPixel) +
                        ",\"file\":" + jsonString((samplesFolder / panel.fileName).string()) +
                        ",\"record\":\"" + picture.record + "\",\"class\":\"" + picture.recordClass +
                        "\",\"property\":\"" + picture.property + "\"}";
            ++index;
        }
    }
    expected += "],\"events\":[]}\n";

    std::ostringstream out;
    std::ostringstream progress;
    cli::HarvestOptions options;
    options.paths = {samplesFolder.string()};
    options.json = true;
    EXPECT_EQ(cli::harvest(options, out, progress), 0);
    EXPECT_EQ(out.str(), expected);
}

}  // namespace
}  // namespace trovelin
