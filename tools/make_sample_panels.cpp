// Writes the sample panel files into a folder: usage make_sample_panels <folder>.
// The committed copies under samples/ come from here; a test checks that they still do.

#include <cstdio>
#include <string>

#include "support/FileWriter.h"
#include "support/SamplePanels.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    bool ok = true;
    for (const auto& panel : trovelin::testing::samplePanels())
        ok &= trovelin::testing::writeFile(std::string(argv[1]) + "/" + panel.fileName, panel.bytes);
    return ok ? 0 : 1;
}
