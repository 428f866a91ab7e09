// Writes the hand-made seeds of fuzz_loader: usage make_loader_seeds <directory>.
// One panel file holding every class of the loader's table, each with every published property
// away from its default, so that mutations start from a record that reaches every setter.

#include <cstdio>
#include <memory>
#include <string>

#include "framework/Control.h"
#include "panelctl/PanelClasses.h"
#include "support/EveryPropertyPanel.h"
#include "support/FileWriter.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <directory>\n", argv[0]);
        return 2;
    }
    std::vector<const trovelin::ClassInfo*> classes;
    for (const trovelin::LoaderClass& entry : trovelin::panelLoaderClasses()) {
        const std::unique_ptr<trovelin::TControl> control(entry.create(nullptr));
        classes.push_back(&control->classInfo());
    }
    const std::string path = std::string(argv[1]) + "/every_class";
    return trovelin::testing::writeFile(path, trovelin::testing::everyPropertyPanel(classes)) ? 0 : 1;
}
