// Writes the seed corpus of fuzz_panel_header: usage make_header_seeds <directory>.
// The seeds are small files of both variants with and without chunks, and cut-off ones.

#include <cstdio>
#include <string>
#include <vector>

#include "support/FileWriter.h"
#include "support/PanelFileWriter.h"
#include "support/RecordWriter.h"

namespace {

using trovelin::testing::PanelFileContent;

bool writeSeed(const std::string& directory, const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    return trovelin::testing::writeFile(directory + "/" + name, bytes);
}

PanelFileContent seedContent(bool large, bool blco, bool smth)
{
    const int channels = trovelin::testing::panelTableChannels(large);
    PanelFileContent content;
    content.large = large;
    content.channelCount = static_cast<std::uint16_t>(large ? 300 : 12);
    content.channelBits = {0x00000F0F};
    content.channelBytes = {1, 2, 3, 0, 2, 1};
    content.channelWords = {0x0102, 0xFFFF};
    if (blco) content.blco = std::vector<std::uint16_t>(static_cast<std::size_t>(channels), 0x0100);
    if (smth) content.smth = std::vector<std::uint32_t>{0x80000001};
    content.title = "Seed";
    content.records = {trovelin::testing::RecordWriter().beginRecord("TImage", "").end().end().bytes()};
    return content;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <directory>\n", argv[0]);
        return 2;
    }
    const std::string directory = argv[1];
    bool ok = true;
    for (bool large : {false, true}) {
        const std::string variant = large ? "large" : "small";
        ok &= writeSeed(directory, variant + "_plain", writePanelFile(seedContent(large, false, false)));
        ok &= writeSeed(directory, variant + "_blco_smth", writePanelFile(seedContent(large, true, true)));
        ok &= writeSeed(directory, variant + "_smth_only", writePanelFile(seedContent(large, false, true)));
        PanelFileContent swapped = seedContent(large, true, true);
        swapped.smthBeforeBlco = true;
        ok &= writeSeed(directory, variant + "_smth_before_blco", writePanelFile(swapped));
        std::vector<std::uint8_t> cut = writePanelFile(seedContent(large, true, false));
        cut.resize(large ? 808 : 107);  // two bytes into the BLCO tag
        ok &= writeSeed(directory, variant + "_cut_in_tag", cut);
    }
    ok &= writeSeed(directory, "not_a_panel", {'k', 'v', 'l', '0', 1, 2, 3});
    return ok ? 0 : 1;
}
