// Writes the hand-made seeds of fuzz_panel_paint: usage make_paint_seeds <directory>.
// One panel file holding every class of the loader's table with every published property away
// from its default, and one with a control of each class declared 2^31 - 1 pixels wide and high.

#include <cstdio>
#include <string>

#include "support/EveryPropertyPanel.h"
#include "support/FileWriter.h"
#include "support/SamplePanels.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <directory>\n", argv[0]);
        return 2;
    }
    const std::string directory = argv[1];
    using trovelin::testing::writeFile;
    return writeFile(directory + "/every_class", trovelin::testing::everyLoaderClassPanel()) &&
                   writeFile(directory + "/huge_controls", trovelin::testing::hugeControlsPanel(10))
               ? 0
               : 1;
}
