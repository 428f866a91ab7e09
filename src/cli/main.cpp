// trovelin-cli: the panel-file tools without a screen.

#include <algorithm>
#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include <QGuiApplication>

#include "cli/Dump.h"
#include "cli/Harvest.h"
#include "cli/ByteSize.h"
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

// Controls paint and measure text, which needs fonts and so an application object, but never a
// screen. A load draws nothing, yet a run must not lose every picture if that ever changes.
// Qt sees no arguments: a file named like one of its options stays a file.
int runWithOffscreenApplication(char* programName, const std::function<int()>& command)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgumentCount = 1;
    char* qtArguments[] = {programName, nullptr};
    QGuiApplication application(qtArgumentCount, qtArguments);
    return command();
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

int runHarvest(char* programName, const std::vector<std::string>& arguments)
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
        } else if (argument == "--max-memory") {
            if (++i == arguments.size()) return usage();
            const std::optional<std::uint64_t> bytes = trovelin::cli::parseByteSize(arguments[i]);
            if (!bytes) return usage();
            trovelin::pictureList().pixelBudget().setLimit(*bytes);
        } else if (argument.starts_with("-") && argument != "-") {
            return usage();
        } else {
            options.paths.push_back(argument);
        }
    }
    if (options.paths.empty()) return usage();
    return runWithOffscreenApplication(programName,
                                       [&] { return trovelin::cli::harvest(options, std::cout, std::cerr); });
}

int runRender(char* programName, const std::vector<std::string>& arguments)
{
    if (arguments.size() != 3 || arguments[1] != "--out") return usage();
    return runWithOffscreenApplication(
        programName, [&] { return trovelin::cli::renderPanelToFile(arguments[0], arguments[2], std::cerr); });
}

// The gallery's widgets paint text, which needs an application object but never a screen.
int runGallery(char* programName, const std::vector<std::string>& arguments, bool oneWidget)
{
    const auto widget = oneWidget ? trovelin::parseWidgetArguments(arguments) : std::nullopt;
    if (oneWidget ? !widget : arguments.size() != 2 || arguments[0] != "--out") return usage();
    return runWithOffscreenApplication(programName, [&] {
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
    if (command == "dump" && (rest.size() == 1 || (rest.size() == 2 && rest[0] == "--json"))) {
        return runWithOffscreenApplication(
            argv[0], [&] { return trovelin::cli::dumpPanelFile(rest.back(), rest.size() == 2, std::cout, std::cerr); });
    }
    return usage();
}
