// trovelin-cli: the panel-file tools without a screen.

#include <algorithm>
#include <cstdint>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/Dump.h"
#include "cli/ByteSize.h"
#include "cli/Harvest.h"
#include "cli/OffscreenApplication.h"
#include "cli/Render.h"
#include "cli/Usage.h"
#include "panelfile/PictureList.h"
#include "gallery/GalleryForm.h"
#include "gallery/WidgetShot.h"
#include "framework/PngWriter.h"
#include "streaming/Errors.h"
#include "streaming/PrintableText.h"

namespace {

int usage()
{
    trovelin::cli::printUsage(std::cerr);
    return 2;
}

// Takes "--max-memory SIZE" out of the arguments of a command that loads panel files, leaving
// `bytes` at the default without it. False when the size is missing or not one.
bool takeMaxMemory(std::vector<std::string>& arguments, std::uint64_t& bytes)
{
    const auto option = std::find(arguments.begin(), arguments.end(), "--max-memory");
    if (option == arguments.end()) return true;
    if (option + 1 == arguments.end()) return false;
    const std::optional<std::uint64_t> size = trovelin::cli::parseByteSize(*(option + 1));
    if (!size) return false;
    bytes = *size;
    arguments.erase(option, option + 2);
    return true;
}

// `--help`, `help` and `help COMMAND`, `COMMAND ... --help`, `--version`: answered on standard
// output before any command runs. Null when the arguments ask for none of these.
std::optional<int> answerHelp(const std::vector<std::string>& arguments)
{
    using namespace trovelin::cli;
    const std::string& first = arguments[0];
    if (first == "--version") {
        printVersion(std::cout);
        return 0;
    }
    if (first == "--help" || first == "-h" || (first == "help" && arguments.size() == 1)) {
        printHelp(std::cout);
        return 0;
    }
    auto isHelpOption = [](const std::string& argument) { return argument == "--help" || argument == "-h"; };
    const bool asksForHelp = first == "help" ? arguments.size() == 2
                                             : std::any_of(arguments.begin() + 1, arguments.end(), isHelpOption);
    if (!asksForHelp) return std::nullopt;
    const CommandHelp* command = findCommandHelp(first == "help" ? arguments[1] : first);
    if (!command) return usage();
    printCommandHelp(*command, std::cout);
    return 0;
}

int runHarvest(char* programName, std::vector<std::string> arguments)
{
    std::uint64_t pixelBudgetBytes = trovelin::defaultPixelBudgetBytes();
    if (!takeMaxMemory(arguments, pixelBudgetBytes)) return usage();
    trovelin::pictureList().pixelBudget().setLimit(pixelBudgetBytes);
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
    return trovelin::cli::runWithOffscreenApplication(programName,
                                       [&] { return trovelin::cli::harvest(options, std::cout, std::cerr); });
}

int runRender(char* programName, std::vector<std::string> arguments)
{
    std::uint64_t pixelBudgetBytes = trovelin::defaultPixelBudgetBytes();
    if (!takeMaxMemory(arguments, pixelBudgetBytes) || arguments.size() != 3 || arguments[1] != "--out") return usage();
    return trovelin::cli::runWithOffscreenApplication(programName, [&] {
        return trovelin::cli::renderPanelToFile(arguments[0], arguments[2], std::cerr, pixelBudgetBytes);
    });
}

int runDump(char* programName, std::vector<std::string> arguments)
{
    std::uint64_t pixelBudgetBytes = trovelin::defaultPixelBudgetBytes();
    if (!takeMaxMemory(arguments, pixelBudgetBytes)) return usage();
    const bool json = arguments.size() == 2 && arguments[0] == "--json";
    if (arguments.size() != 1 && !json) return usage();
    return trovelin::cli::runWithOffscreenApplication(programName, [&] {
        return trovelin::cli::dumpPanelFile(arguments.back(), json, std::cout, std::cerr, pixelBudgetBytes);
    });
}

// The gallery's widgets paint text, which needs an application object but never a screen.
int runGallery(char* programName, const std::vector<std::string>& arguments, bool oneWidget)
{
    const auto widget = oneWidget ? trovelin::parseWidgetArguments(arguments) : std::nullopt;
    if (oneWidget ? !widget : arguments.size() != 2 || arguments[0] != "--out") return usage();
    return trovelin::cli::runWithOffscreenApplication(programName, [&] {
        if (widget) return trovelin::paintWidgetToFile(*widget, std::cerr);
        const auto form = trovelin::buildGalleryForm();
        try {
            trovelin::writePng(trovelin::paintGalleryForm(*form), arguments[1]);
        } catch (const trovelin::Exception& error) {
            std::cerr << trovelin::printableText(error.message()) << '\n';
            return 1;
        }
        return 0;
    });
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.empty()) return usage();
    if (const std::optional<int> status = answerHelp(arguments)) return *status;
    const std::string& command = arguments[0];
    const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
    if (command == "harvest") return runHarvest(argv[0], rest);
    if (command == "render") return runRender(argv[0], rest);
    if (command == "gallery" || command == "widget") return runGallery(argv[0], rest, command == "widget");
    if (command == "dump") return runDump(argv[0], rest);
    return usage();
}
