#include "app/ViewerCommandLine.h"

namespace trovelin {

ViewerCommandLine parseViewerCommandLine(const std::vector<std::string>& arguments)
{
    ViewerCommandLine result;
    bool helpAsked = false;
    bool versionAsked = false;
    bool galleryAsked = false;
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (argument == "--help" || argument == "-h")) {
            helpAsked = true;
        } else if (!optionsEnded && argument == "--version") {
            versionAsked = true;
        } else if (!optionsEnded && argument == "--gallery") {
            galleryAsked = true;
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
    else if (galleryAsked && result.path)
        result.action = ViewerCommandLine::Action::UsageError, result.error = "--gallery takes no PATH";
    else if (galleryAsked)
        result.action = ViewerCommandLine::Action::ShowGallery;
    return result;
}

std::string viewerHelpText()
{
    return "usage: trovelin [PATH]\n"
           "       trovelin --gallery\n"
           "\n"
           "Shows the pictures stored in lighting-control panel files (.kvr) as a grid of thumbnails;\n"
           "a click on one copies it to the clipboard.\n"
           "\n"
           "  PATH         a panel file: opens its folder and loads that file alone\n"
           "               a folder: opens it and loads all its panel files\n"
           "               none: opens the folder that holds the program\n"
           "  --gallery    opens the widget gallery: every skinned widget and panel control, live\n"
           "  -h, --help   this help\n"
           "  --version    the version\n"
           "\n"
           "Drive letters: C: is the root of the file system (/), other mounted volumes get D:, E:, ...\n"
           "in the order of the mount table; \"My Computer\" in the drive selector lists them.\n"
           "\n"
           "examples:\n"
           "  trovelin samples/club-stage.kvr\n"
           "  trovelin ~/shows\n";
}

std::string viewerVersionText()
{
    return std::string("trovelin ") + TROVELIN_VERSION + "\n";
}

}  // namespace trovelin
