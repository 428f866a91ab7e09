#include "cli/Usage.h"

#include <algorithm>
#include <ostream>

namespace trovelin::cli {

namespace {

constexpr std::string_view toolName = "trovelin-cli";
constexpr std::size_t optionColumn = 22;
constexpr OptionHelp maxMemoryHelp{"--max-memory SIZE",
                                   "decoded-pixel budget, bytes or with K, M, G (default: lesser of 4G, half the RAM)"};

void printOption(const OptionHelp& option, std::ostream& out)
{
    out << "  " << option.option;
    if (option.option.size() + 2 < optionColumn)
        out << std::string(optionColumn - 2 - option.option.size(), ' ');
    else
        out << '\n' << std::string(optionColumn, ' ');
    out << option.meaning << '\n';
}

}  // namespace

const std::vector<CommandHelp>& commandHelp()
{
    static const std::vector<CommandHelp> commands{
        {"harvest",
         "[--json] [--out DIR] [--keep-going] [--max-memory SIZE] [-q] PATH...",
         "Loads the panel files in the order given into one picture list, as the viewer loads a folder,\n"
         "and lists the pictures and what the loader reported. A folder stands for its *.kvr files\n"
         "(letter case ignored), sorted by name. Exit status 0, 1 after an error, 2 for a usage error,\n"
         "128 + the signal when interrupted (130 for Ctrl+C).",
         {{"--json", "print one JSON object instead of the table"},
          {"--out DIR", "write picture i as DIR/NNN.png, and the list as DIR/pictures.json; the NNN.png\n"
                        "                      files an earlier run's pictures.json lists beyond this run go"},
          {"--keep-going", "go on with the next file after an error"},
          maxMemoryHelp,
          {"-q", "no progress on standard error"}},
         {"trovelin-cli harvest --out pictures samples/",
          "trovelin-cli harvest --json --keep-going show1.kvr show2.kvr > pictures.json"}},
        {"extract",
         "[--out DIR] [--unique] [--json] [-j N] [--max-memory SIZE] [--keep-going | --fail-fast] [-q] PATH...",
         "Writes every picture of every panel file below the PATHs (folders are walked whole, symbolic\n"
         "links to folders not followed), each file loaded alone as 'harvest FILE' loads it, as\n"
         "DIR/<PATH's name>/<path of the file without .kvr>/NNN.png, and DIR/manifest.jsonl: one JSON\n"
         "line per picture (with the sha256 of its pixels and palette) and per event, in file order,\n"
         "written as files complete. A file that fails is reported and the run goes on. Exit status 0,\n"
         "1 when a file failed, 2 for a usage error, 128 + the signal when interrupted (130 for Ctrl+C,\n"
         "after the files in flight are written).",
         {{"--out DIR", "where the PNG files and manifest.jsonl go; the PNG files an earlier run's\n"
                        "                      manifest.jsonl names beyond this run go, nothing else"},
          {"--json", "the manifest's lines to standard output too (needed without --out)"},
          {"--unique", "write each content once; later pictures of it name the first one's file"},
          {"-j N", "files loaded and encoded at once (default: every core)"},
          maxMemoryHelp,
          {"--keep-going", "go on with the next file after one fails (the default)"},
          {"--fail-fast", "stop after the first file that fails"},
          {"-q", "no progress on standard error"}},
         {"trovelin-cli extract --out pictures ~/shows",
          "trovelin-cli extract --unique -j 4 --out pictures archive/2019 archive/2020"}},
        {"dump",
         "[--json] [--max-memory SIZE] FILE.kvr",
         "Prints the header and every record of a panel file, marked with what the loader does\n"
         "with it. Exit status 0, or 1 when the load would not get to the end.",
         {{"--json", "print one JSON object instead of the tree"}, maxMemoryHelp},
         {"trovelin-cli dump samples/console-desk.kvr", "trovelin-cli dump --json samples/club-stage.kvr"}},
        {"render",
         "FILE.kvr --out FILE.png [--max-memory SIZE]",
         "Paints the panel's background and controls as its designer placed them. A load that stops\n"
         "before the end is drawn as far as it got: exit status 1.",
         {{"--out FILE.png", "where the image goes (required); - for standard output"}, maxMemoryHelp},
         {"trovelin-cli render samples/console-desk.kvr --out desk.png"}},
        {"thumbnail",
         "[-s SIZE] [--max-memory SIZE] [--max-time SECONDS] INPUT OUTPUT.png",
         "Writes a small picture of the panel, painted as render paints it, for file managers (the\n"
         "desktop's thumbnailer runs it). A panel that does not load to its end, or that passes a\n"
         "limit, writes nothing: exit status 1. An empty OUTPUT is written into, other files and\n"
         "links are replaced.",
         {{"-s SIZE", "the longer side in pixels (default 128); a smaller panel keeps its own size"},
          {"--max-memory SIZE", "decoded-pixel budget, bytes or with K, M, G (default: 256M)"},
          {"--max-time SECONDS", "gives up after this long, writing nothing (default: 10)"}},
         {"trovelin-cli thumbnail -s 256 samples/arena-rig.kvr arena-rig.png"}},
        {"gallery",
         "--out FILE.png",
         "Paints the widget gallery's form (every skinned widget and panel control) as its window\n"
         "shows it at rest.",
         {{"--out FILE.png", "where the image goes (required); - for standard output"}},
         {"trovelin-cli gallery --out gallery.png"}},
        {"widget",
         "CLASS [NAME=VALUE ...] [--hover X,Y] [--press X,Y] [--focus] --out FILE.png | --list",
         "Paints one widget of a class the gallery knows, alone at its own size, with published\n"
         "properties in the text form dump prints. Exit status 2 for an unknown class or property\n"
         "or a bad value, with the reader's message.",
         {{"NAME=VALUE", "a published property, e.g. Caption='Mute' or Items=\"('Red' 'Green')\""},
          {"--hover X,Y", "moves the pointer over the widget at X,Y"},
          {"--press X,Y", "holds the left button down at X,Y (after the hover)"},
          {"--focus", "gives the widget the focus"},
          {"--list", "lists the classes it knows"},
          {"--out FILE.png", "where the image goes (required); - for standard output"}},
         {"trovelin-cli widget TWCheckBox \"Caption='Mute'\" State=cbGrayed AllowGrayed=True --out box.png",
          "trovelin-cli widget TWTracker Position=40 --press 5,5 --out tracker.png"}},
    };
    return commands;
}

const CommandHelp* findCommandHelp(std::string_view name)
{
    const std::vector<CommandHelp>& commands = commandHelp();
    const auto found = std::find_if(commands.begin(), commands.end(),
                                    [name](const CommandHelp& command) { return command.name == name; });
    return found == commands.end() ? nullptr : &*found;
}

void printCommandHelp(const CommandHelp& command, std::ostream& out)
{
    out << "usage: " << toolName << ' ' << command.name << ' ' << command.synopsis << "\n\n"
        << command.summary << "\n\n";
    for (const OptionHelp& option : command.options) printOption(option, out);
    out << "\nexamples:\n";
    for (std::string_view example : command.examples) out << "  " << example << '\n';
}

void printHelp(std::ostream& out)
{
    out << toolName << ": the pictures of lighting-control panel files (.kvr), without a screen.\n\n";
    for (const CommandHelp& command : commandHelp()) {
        printCommandHelp(command, out);
        out << '\n';
    }
    out << "Options go before or after the arguments, as --opt VALUE or --opt=VALUE; -- ends them.\n"
           "Standard output holds the result alone; errors, events and progress go to standard error.\n"
           "Exit status: 0 done (records the loader refused with a message and passed over included),\n"
           "1 an error, a file that is no panel file or a load that stops before its end, 2 a usage\n"
           "error, 128 + the signal when interrupted (130 by SIGINT, 143 by SIGTERM). Every command\n"
           "gives a file the same.\n\n"
           "other commands and options:\n";
    printOption({"help [COMMAND]", "this help, or the help of one command (also: COMMAND --help)"}, out);
    printOption({"-h, --help", "this help"}, out);
    printOption({"--version", "the version"}, out);
}

void printHelpOfHelp(std::ostream& out)
{
    out << "usage: " << toolName << " help [COMMAND]\n\n"
        << "Prints the help of every command, or of COMMAND alone (as '" << toolName << " COMMAND --help' does).\n";
}

void printUsage(std::ostream& out)
{
    for (const CommandHelp& command : commandHelp())
        out << (&command == &commandHelp().front() ? "usage: " : "       ") << toolName << ' ' << command.name
            << ' ' << command.synopsis << '\n';
    out << "Run '" << toolName << " --help' for what each command and option does.\n";
}

void printVersion(std::ostream& out)
{
    out << toolName << ' ' << TROVELIN_VERSION << '\n';
}

}  // namespace trovelin::cli
