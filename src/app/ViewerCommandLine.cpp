#include "app/ViewerCommandLine.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace trovelin {

namespace {

// The options the GUI toolkit takes for itself, with one or two dashes: those that take a value,
// and flags. The viewer reads its own arguments before the toolkit starts, and passes these over.
constexpr std::array<std::string_view, 15> toolkitOptionsWithValue{
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "geometry", "qwindowtitle",
    "title", "qwindowicon", "icon", "style", "stylesheet", "session", "display", "name"};
constexpr std::array<std::string_view, 6> toolkitFlags{"reverse", "widgetcount", "nograb", "dograb", "sync",
                                                        "qwindowalwaysontop"};

// The option's name without its dashes and any "=value"; empty for anything else.
std::string_view toolkitName(std::string_view argument)
{
    if (!argument.starts_with('-')) return {};
    argument.remove_prefix(argument.starts_with("--") ? 2 : 1);
    return argument.substr(0, argument.find('='));
}

bool isIn(std::string_view name, const auto& names) { return std::find(names.begin(), names.end(), name) != names.end(); }

}  // namespace

ViewerCommandLine parseViewerCommandLine(const std::vector<std::string>& arguments)
{
    ViewerCommandLine result;
    bool helpAsked = false;
    bool versionAsked = false;
    bool galleryAsked = false;
    bool panelAsked = false;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const std::string_view toolkitOption = optionsEnded ? std::string_view() : toolkitName(argument);
        if (isIn(toolkitOption, toolkitOptionsWithValue)) {
            if (argument.find('=') == std::string::npos) ++i;  // its value
        } else if (isIn(toolkitOption, toolkitFlags)) {
            // the toolkit's alone
        } else if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (argument == "--help" || argument == "-h")) {
            helpAsked = true;
        } else if (!optionsEnded && argument == "--version") {
            versionAsked = true;
        } else if (!optionsEnded && argument == "--gallery") {
            galleryAsked = true;
        } else if (!optionsEnded && argument == "--panel") {
            panelAsked = true;
        } else if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
            if (result.error.empty()) result.error = "unknown option " + argument;
        } else if (result.path) {
            if (result.error.empty()) result.error = "more than one PATH: " + *result.path + " and " + argument;
        } else {
            result.path = argument;
        }
    }
    if (helpAsked)
        result.action = ViewerCommandLine::Action::ShowHelp;
    else if (versionAsked)
        result.action = ViewerCommandLine::Action::ShowVersion;
    else if (!result.error.empty())
        result.action = ViewerCommandLine::Action::UsageError;
    else if (galleryAsked && (result.path || panelAsked))
        result.action = ViewerCommandLine::Action::UsageError, result.error = "--gallery takes no PATH";
    else if (galleryAsked)
        result.action = ViewerCommandLine::Action::ShowGallery;
    else if (panelAsked && !result.path)
        result.action = ViewerCommandLine::Action::UsageError, result.error = "--panel needs a FILE";
    else if (panelAsked)
        result.action = ViewerCommandLine::Action::ShowPanel;
    return result;
}

std::string viewerHelpText()
{
    return "usage: trovelin [PATH]\n"
           "       trovelin --panel FILE\n"
           "       trovelin --gallery\n"
           "\n"
           "Shows the pictures stored in lighting-control panel files (.kvr) as a grid of thumbnails;\n"
           "a click on one copies it to the clipboard.\n"
           "\n"
           "  PATH         a panel file: opens its folder and loads that file alone\n"
           "               a folder: opens it and loads all its panel files\n"
           "               none: opens the folder that holds the program\n"
           "  --panel FILE opens the panel file's panel in a window of its own, live; anything\n"
           "               else opens the viewer as PATH does\n"
           "  --gallery    opens the widget gallery: every skinned widget and panel control, live\n"
           "  -h, --help   this help\n"
           "  --version    the version\n"
           "\n"
           "Drive letters: C: is the root of the file system (/), other mounted volumes get D:, E:, ...\n"
           "in the order of the mount table; \"My Computer\" in the drive selector lists them.\n"
           "\n"
           "examples:\n"
           "  trovelin samples/club-stage.kvr\n"
           "  trovelin --panel samples/console-desk.kvr\n"
           "  trovelin ~/shows\n";
}

std::string viewerVersionText()
{
    return std::string("trovelin ") + TROVELIN_VERSION + "\n";
}

}  // namespace trovelin
