// trovelin-cli: the panel-file tools without a screen.

#include <iostream>
#include <string>
#include <vector>

#include <QGuiApplication>

#include "cli/Dump.h"
#include "cli/Harvest.h"
#include "cli/Render.h"

namespace {

int usage()
{
    std::cerr << "usage: trovelin-cli harvest [--json] [--out DIR] [--keep-going] [-q] PATH...\n"
                 "       trovelin-cli dump [--json] FILE.kvr\n"
                 "       trovelin-cli render FILE.kvr --out FILE.png\n"
                 "  harvest  load panel files (a folder stands for its *.kvr files) into the picture list\n"
                 "           and list the pictures; --out writes them as DIR/NNN.png\n"
                 "  dump     print the header and every record of a panel file\n"
                 "  render   paint the panel's background and controls as its designer placed them\n";
    return 2;
}

int runHarvest(const std::vector<std::string>& arguments)
{
    trovelin::cli::HarvestOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--json") {
            options.json = true;
        } else if (argument == "--keep-going") {
            options.keepGoing = true;
        } else if (argument == "-q") {
            options.quiet = true;
        } else if (argument == "--out") {
            if (++i == arguments.size()) return usage();
            options.outputFolder = arguments[i];
        } else if (argument.starts_with("-") && argument != "-") {
            return usage();
        } else {
            options.paths.push_back(argument);
        }
    }
    if (options.paths.empty()) return usage();
    return trovelin::cli::harvest(options, std::cout, std::cerr);
}

int runRender(const std::vector<std::string>& arguments)
{
    if (arguments.size() != 3 || arguments[1] != "--out") return usage();
    return trovelin::cli::renderPanelToFile(arguments[0], arguments[2], std::cerr);
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.empty()) return usage();
    // Controls paint and measure text, which needs fonts and so an application object, but never
    // a screen. A load draws nothing, yet a run must not lose every picture if that ever changes.
    // Qt sees no arguments: a file named like one of its options stays a file.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgumentCount = 1;
    QGuiApplication application(qtArgumentCount, argv);

    const std::string& command = arguments[0];
    if (command == "harvest") return runHarvest({arguments.begin() + 1, arguments.end()});
    if (command == "render") return runRender({arguments.begin() + 1, arguments.end()});
    if (command == "dump" && arguments.size() == 2) return trovelin::cli::dumpPanelFile(arguments[1], false, std::cout, std::cerr);
    if (command == "dump" && arguments.size() == 3 && arguments[1] == "--json")
        return trovelin::cli::dumpPanelFile(arguments[2], true, std::cout, std::cerr);
    return usage();
}
