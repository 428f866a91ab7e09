// Writes the hand-made seeds of fuzz_loader: usage make_loader_seeds <directory>.
// One panel file holding every class of the loader's table, each with every published property
// away from its default, so that mutations start from a record that reaches every setter.

#include <cstdio>
#include <string>

#include "support/EveryPropertyPanel.h"
#include "support/FileWriter.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <directory>\n", argv[0]);
        return 2;
    }
    const std::string path = std::string(argv[1]) + "/every_class";
    return trovelin::testing::writeFile(path, trovelin::testing::everyLoaderClassPanel()) ? 0 : 1;
}
