// trovelin-cli: the panel-file tools without a screen.

#include <iostream>
#include <string>
#include <vector>

#include <QGuiApplication>

#include "cli/Dump.h"
#include "cli/Harvest.h"
#include "cli/Render.h"
#include "gallery/GalleryForm.h"
#include "gallery/WidgetShot.h"

namespace {

int usage()
{
    std::cerr << "usage: trovelin-cli harvest [--json] [--out DIR] [--keep-going] [-q] PATH...\n"
                 "       trovelin-cli dump [--json] FILE.kvr\n"
                 "       trovelin-cli render FILE.kvr --out FILE.png\n"
                 "       trovelin-cli gallery --out FILE.png\n"
                 "       trovelin-cli widget CLASS [NAME=VALUE ...] [--hover X,Y] [--press X,Y] [--focus] --out FILE.png\n"
                 "  harvest  load panel files (a folder stands for its *.kvr files) into the picture list\n"
                 "           and list the pictures; --out writes them as DIR/NNN.png\n"
                 "  dump     print the header and every record of a panel file\n"
                 "  render   paint the panel's background and controls as its designer placed them\n"
                 "  gallery  paint the widget gallery's form at rest\n"
                 "  widget   paint one widget of the gallery with the given properties and state\n";
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

int runRender(int argc, char** argv, const std::vector<std::string>& arguments)
{
    if (arguments.size() != 3 || arguments[1] != "--out") return usage();
    // Controls paint text, which needs fonts and so an application object, but never a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    return trovelin::cli::renderPanelToFile(arguments[0], arguments[2], std::cerr);
}

// The gallery's widgets paint text, which needs an application object but never a screen.
int runGallery(int argc, char** argv, const std::vector<std::string>& arguments, bool oneWidget)
{
    const auto widget = oneWidget ? trovelin::parseWidgetArguments(arguments) : std::nullopt;
    if (oneWidget ? !widget : arguments.size() != 2 || arguments[0] != "--out") return usage();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (widget) return trovelin::paintWidgetToFile(*widget, std::cerr);
    const auto form = trovelin::buildGalleryForm();
    if (!trovelin::paintGalleryForm(*form).save(QString::fromStdString(arguments[1]), "PNG")) {
        std::cerr << "Cannot write " << arguments[1] << '\n';
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.empty()) return usage();
    const std::string& command = arguments[0];
    if (command == "harvest") return runHarvest({arguments.begin() + 1, arguments.end()});
    if (command == "render") return runRender(argc, argv, {arguments.begin() + 1, arguments.end()});
    if (command == "gallery" || command == "widget")
        return runGallery(argc, argv, {arguments.begin() + 1, arguments.end()}, command == "widget");
    if (command == "dump" && arguments.size() == 2) return trovelin::cli::dumpPanelFile(arguments[1], false, std::cout, std::cerr);
    if (command == "dump" && arguments.size() == 3 && arguments[1] == "--json")
        return trovelin::cli::dumpPanelFile(arguments[2], true, std::cout, std::cerr);
    return usage();
}
