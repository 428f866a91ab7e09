// Writes the seed corpus of fuzz_gallery_record: usage make_gallery_seeds <directory>.
// The widget gallery's own record, which names every class the gallery knows, and one of
// extreme sizes, ranges, positions and bevel widths.

#include <cstdio>
#include <string>

#include "gallery/GalleryForm.h"
#include "streaming/TextRecord.h"
#include "support/FileWriter.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_gallery_seeds <directory>\n");
        return 2;
    }
    using trovelin::RecordNode;
    RecordNode extremes{"TGalleryForm", "Extremes", false, std::nullopt, {}, {}};
    const std::string huge = "2147483647", tiny = "-2147483648";
    auto add = [&extremes](std::string className, std::vector<std::pair<std::string, std::string>> properties) {
        extremes.children.push_back({std::move(className), "", false, std::nullopt, std::move(properties), {}});
    };
    add("TWTracker", {{"Width", "1"}, {"Height", huge}, {"Min", huge}, {"Position", tiny}});
    add("TWTracker", {{"Width", huge}, {"Height", huge}, {"Max", tiny}});
    add("TWSlider", {{"Width", "0"}, {"Height", "1"}, {"M16bit", "True"}, {"Min", "300"}, {"Max", "-5"}});
    add("TWSliderh", {{"Width", huge}, {"Height", tiny}, {"Position", huge}});
    add("TWRadioGroup", {{"BevelWidth", huge}, {"Height", tiny}, {"Items.Strings", "('a' 'b' 'c')"}, {"ItemIndex", huge}});
    add("TWCheckBox", {{"Width", tiny}, {"Alignment", "taRightJustify"}, {"Caption", "'x'"}});
    add("TWScrollBar", {{"Width", huge}, {"Height", huge}, {"Min", huge}, {"Max", tiny}, {"Position", huge},
                        {"LargeChange", tiny}});
    add("TWScrollBar", {{"Kind", "sbVertical"}, {"Width", "0"}, {"Height", "0"}, {"Min", "5"}, {"Max", "5"}});
    add("TWPanel", {{"BevelWidth", tiny}, {"Width", huge}, {"Height", tiny}, {"Alignment", "taRightJustify"},
                    {"Caption", "'x'"}});
    add("TWGroupBox", {{"BevelWidth", huge}, {"Width", tiny}, {"Height", huge}, {"Caption", "'x'"}});
    add("TWBlinkButton", {{"Width", huge}, {"Height", huge}, {"Down", "True"}, {"Color", tiny}, {"Caption", "'x'"}});
    add("TWCBTC", {{"Width", huge}, {"Height", tiny}, {"Down", "True"}});
    const std::string directory = argv[1];
    return trovelin::testing::writeFile(directory + "/gallery", trovelin::recordFromText(trovelin::galleryLayout())) &&
                   trovelin::testing::writeFile(directory + "/extremes", trovelin::recordFromText(extremes))
               ? 0
               : 1;
}
