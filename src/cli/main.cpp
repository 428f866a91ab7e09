// trovelin-cli: the panel-file tools without a screen.

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "cli/ByteSize.h"
#include "cli/CheckedOutput.h"
#include "cli/CommandParser.h"
#include "cli/Dump.h"
#include "cli/Extract.h"
#include "cli/Harvest.h"
#include "cli/Interruption.h"
#include "cli/OffscreenApplication.h"
#include "cli/Render.h"
#include "cli/Thumbnail.h"
#include "cli/Usage.h"
#include "framework/PngWriter.h"
#include "gallery/GalleryForm.h"
#include "gallery/WidgetShot.h"
#include "panelfile/PictureList.h"
#include "streaming/Errors.h"
#include "streaming/PrintableText.h"
#include "streaming/TypeInfo.h"

namespace {

using trovelin::printableText;
using trovelin::cli::CommandHelp;
using trovelin::cli::ParsedArguments;

constexpr int usageError = 2;

// "trovelin-cli: harvest: unknown option '--bogus'" and where to read more.
int refuse(const std::string& command, const std::string& problem)
{
    std::cerr << "trovelin-cli: " << (command.empty() ? "" : command + ": ") << printableText(problem) << '\n'
              << "Run 'trovelin-cli " << (command.empty() ? "" : command + " ") << "--help' for "
              << (command.empty() ? "the commands and their options" : "its options") << ".\n";
    return usageError;
}

// The pixel budget of --max-memory, or the default; none after a bad value, which is refused.
std::optional<std::uint64_t> pixelBudget(const std::string& command, const ParsedArguments& arguments,
                                         std::uint64_t defaultBytes = trovelin::defaultPixelBudgetBytes())
{
    const std::string* text = arguments.value("max-memory");
    if (!text) return defaultBytes;
    const std::optional<std::uint64_t> bytes = trovelin::cli::parseByteSize(*text);
    if (!bytes) refuse(command, "bad value '" + *text + "' for --max-memory: give bytes, or a number with K, M or G");
    return bytes;
}

// Only PNG is written; an output that names another kind of image is refused, not mislabelled.
bool isPngName(const std::string& output)
{
    const std::string extension = std::filesystem::path(output).extension().string();
    return output == "-" || extension.empty() || trovelin::sameText(extension, ".png");
}

// `--out ""` (an unset variable) would quietly write nothing, or into the current folder.
bool givesEmptyOut(const ParsedArguments& arguments)
{
    const std::string* out = arguments.value("out");
    return out && out->empty();
}

int runHarvest(char* programName, const ParsedArguments& arguments)
{
    const std::optional<std::uint64_t> budget = pixelBudget("harvest", arguments);
    if (!budget) return usageError;
    if (arguments.positional.empty()) return refuse("harvest", "no PATH given");
    if (givesEmptyOut(arguments)) return refuse("harvest", "--out needs a folder: an empty name was given");
    trovelin::pictureList().pixelBudget().setLimit(*budget);
    trovelin::cli::HarvestOptions options;
    options.paths = arguments.positional;
    options.json = arguments.has("json");
    options.keepGoing = arguments.has("keep-going");
    options.quiet = arguments.has("q");
    if (const std::string* out = arguments.value("out")) options.outputFolder = *out;
    options.progressIsTerminal = ::isatty(STDERR_FILENO) == 1;
    return trovelin::cli::runWithOffscreenApplication(programName,
                                       [&] { return trovelin::cli::harvest(options, std::cout, std::cerr); });
}

int runExtract(const ParsedArguments& arguments)
{
    const std::optional<std::uint64_t> budget = pixelBudget("extract", arguments);
    if (!budget) return usageError;
    if (arguments.positional.empty()) return refuse("extract", "no PATH given");
    if (!arguments.has("out") && !arguments.has("json")) return refuse("extract", "give --out DIR, --json or both");
    if (givesEmptyOut(arguments)) return refuse("extract", "--out needs a folder: an empty name was given");
    if (arguments.has("keep-going") && arguments.has("fail-fast"))
        return refuse("extract", "--keep-going and --fail-fast exclude each other");
    trovelin::cli::ExtractOptions options;
    options.jobs = std::max(1u, std::thread::hardware_concurrency());
    if (const std::string* jobs = arguments.value("j")) {
        const auto [end, error] = std::from_chars(jobs->data(), jobs->data() + jobs->size(), options.jobs);
        if (error != std::errc{} || end != jobs->data() + jobs->size() || options.jobs == 0 || options.jobs > 1024)
            return refuse("extract", "bad value '" + *jobs + "' for -j: give a number of threads from 1 to 1024");
    }
    options.paths = arguments.positional;
    if (const std::string* out = arguments.value("out")) options.outputFolder = *out;
    options.json = arguments.has("json");
    options.unique = arguments.has("unique");
    options.failFast = arguments.has("fail-fast");
    options.pixelBudgetBytes = *budget;
    options.quiet = arguments.has("q");
    options.progressIsTerminal = ::isatty(STDERR_FILENO) == 1;
    // The first signal that would end the run asks it to stop instead (a second one ends it).
    trovelin::cli::askToStopOnInterrupt();
    std::stop_source interrupted;
    options.stop = interrupted.get_token();
    std::jthread signalWatch([&interrupted](std::stop_token runOver) {
        while (!runOver.stop_requested() && trovelin::cli::interruptSignal() == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (trovelin::cli::interruptSignal() != 0) interrupted.request_stop();
    });
    // Loading and encoding need no application: no screen, font or runtime folder.
    const int status = trovelin::cli::extract(options, std::cout, std::cerr);
    signalWatch.request_stop();
    signalWatch.join();
    return status == trovelin::cli::extractInterrupted ? 128 + trovelin::cli::interruptSignal() : status;
}

int runRender(char* programName, const ParsedArguments& arguments)
{
    const std::optional<std::uint64_t> budget = pixelBudget("render", arguments);
    if (!budget) return usageError;
    const std::string* out = arguments.value("out");
    if (!out) return refuse("render", "--out FILE.png is required");
    if (!isPngName(*out)) return refuse("render", "only PNG is written: '" + *out + "' names another kind of file");
    if (arguments.positional.size() != 1)
        return refuse("render", arguments.positional.empty() ? "no FILE.kvr given"
                                                             : "unexpected argument '" + arguments.positional[1] + "'");
    return trovelin::cli::runWithOffscreenApplication(programName, [&] {
        return trovelin::cli::renderPanelToFile(arguments.positional[0], *out, std::cerr, *budget);
    });
}

// The time limit of --max-time, or the default; none after a bad value, which is refused.
std::optional<std::chrono::milliseconds> timeLimit(const std::string& command, const ParsedArguments& arguments,
                                                   std::chrono::milliseconds defaultLimit)
{
    const std::string* text = arguments.value("max-time");
    if (!text) return defaultLimit;
    double seconds = 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), seconds);
    // A day at most: beyond that no caller is waiting any more.
    if (error != std::errc() || end != text->data() + text->size() || !(seconds >= 0.001 && seconds <= 86400)) {
        refuse(command, "bad value '" + *text + "' for --max-time: give seconds, from 0.001 to 86400");
        return std::nullopt;
    }
    return std::chrono::milliseconds(std::llround(seconds * 1000));
}

// What the desktop's thumbnailer runs: `thumbnail -s %s %i %o`.
int runThumbnail(char* programName, const ParsedArguments& arguments)
{
    const std::optional<std::uint64_t> budget =
        pixelBudget("thumbnail", arguments, trovelin::cli::defaultThumbnailPixelBudgetBytes);
    if (!budget) return usageError;
    const std::optional<std::chrono::milliseconds> limit =
        timeLimit("thumbnail", arguments, trovelin::cli::defaultThumbnailTimeLimit);
    if (!limit) return usageError;
    int size = trovelin::cli::defaultThumbnailSize;
    if (const std::string* text = arguments.value("s")) {
        const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), size);
        if (error != std::errc() || end != text->data() + text->size() || size < 1)
            return refuse("thumbnail", "bad value '" + *text + "' for -s: give a number of pixels, 1 or more");
    }
    if (arguments.positional.size() != 2)
        return refuse("thumbnail", arguments.positional.size() < 2 ? "give INPUT and OUTPUT.png"
                                                                   : "unexpected argument '" + arguments.positional[2] + "'");
    const std::string& output = arguments.positional[1];
    if (!isPngName(output)) return refuse("thumbnail", "only PNG is written: '" + output + "' names another kind of file");
    // A write past the file size limit (ulimit -f) then fails as any write error does, and the
    // output is emptied or its temporary file removed, rather than the process being killed halfway.
    std::signal(SIGXFSZ, SIG_IGN);
    return trovelin::cli::runWithOffscreenApplication(programName, [&] {
        return trovelin::cli::writePanelThumbnail(arguments.positional[0], output, size, std::cerr, *budget, *limit);
    });
}

int runDump(char* programName, const ParsedArguments& arguments)
{
    const std::optional<std::uint64_t> budget = pixelBudget("dump", arguments);
    if (!budget) return usageError;
    if (arguments.positional.size() != 1)
        return refuse("dump", arguments.positional.empty() ? "no FILE.kvr given"
                                                           : "unexpected argument '" + arguments.positional[1] + "'");
    return trovelin::cli::runWithOffscreenApplication(programName, [&] {
        return trovelin::cli::dumpPanelFile(arguments.positional[0], arguments.has("json"), std::cout, std::cerr,
                                            *budget);
    });
}

// The gallery's widgets paint text, which needs an application object but never a screen.
int runGallery(char* programName, const ParsedArguments& arguments)
{
    const std::string* out = arguments.value("out");
    if (!out) return refuse("gallery", "--out FILE.png is required");
    if (!isPngName(*out)) return refuse("gallery", "only PNG is written: '" + *out + "' names another kind of file");
    if (!arguments.positional.empty()) return refuse("gallery", "unexpected argument '" + arguments.positional[0] + "'");
    return trovelin::cli::runWithOffscreenApplication(programName, [&] {
        const auto form = trovelin::buildGalleryForm();
        try {
            trovelin::writePng(trovelin::paintGalleryForm(*form), *out);
        } catch (const trovelin::Exception& error) {
            std::cerr << printableText(error.message()) << '\n';
            return 1;
        }
        return 0;
    });
}

int runWidget(char* programName, const ParsedArguments& arguments)
{
    if (arguments.has("list")) {
        if (!arguments.positional.empty()) return refuse("widget", "--list takes no CLASS");
        for (const std::string& name : trovelin::galleryClassNames()) std::cout << name << '\n';
        return 0;
    }
    // The gallery's reader of widget requests takes them in one canonical order.
    std::vector<std::string> request = arguments.positional;
    for (const char* option : {"hover", "press", "out"})
        if (const std::string* value = arguments.value(option))
            request.insert(request.end(), {std::string("--") + option, *value});
    if (arguments.has("focus")) request.push_back("--focus");
    if (arguments.positional.empty()) return refuse("widget", "no CLASS given (--list names them)");
    const std::string* out = arguments.value("out");
    if (!out) return refuse("widget", "--out FILE.png is required");
    if (!isPngName(*out)) return refuse("widget", "only PNG is written: '" + *out + "' names another kind of file");
    const auto widget = trovelin::parseWidgetArguments(request);
    if (!widget)
        return refuse("widget", "each property is NAME=VALUE (text values quoted as dump prints them: "
                                "Caption='Mute'), and --hover and --press take X,Y");
    const int status = trovelin::cli::runWithOffscreenApplication(
        programName, [&] { return trovelin::paintWidgetToFile(*widget, std::cerr); });
    // The reader has named what it refused; the form it expects follows.
    if (status == usageError)
        std::cerr << "Values are written as dump prints them: text quoted (Caption='Mute'), numbers and names bare "
                     "(Position=40, State=cbGrayed); --list names the classes.\n";
    return status;
}

// `help`, `help COMMAND`, `help help`.
int runHelp(const std::vector<std::string>& arguments)
{
    using namespace trovelin::cli;
    if (arguments.size() > 1) return refuse("help", "unexpected argument '" + arguments[1] + "'");
    if (arguments.empty()) {
        printHelp(std::cout);
        return 0;
    }
    if (arguments[0] == "help") {
        printHelpOfHelp(std::cout);
        return 0;
    }
    const CommandHelp* command = findCommandHelp(arguments[0]);
    if (!command) return refuse("help", "unknown command '" + arguments[0] + "'");
    printCommandHelp(*command, std::cout);
    return 0;
}

int runCommand(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.empty()) {
        trovelin::cli::printUsage(std::cerr);
        return usageError;
    }
    const std::string& first = arguments[0];
    const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
    if (first == "--version" || first == "--help" || first == "-h") {
        if (!rest.empty()) return refuse("", "unexpected argument '" + rest[0] + "' after " + first);
        if (first == "--version")
            trovelin::cli::printVersion(std::cout);
        else
            trovelin::cli::printHelp(std::cout);
        return 0;
    }
    if (first == "help") return runHelp(rest);
    if (first.starts_with('-')) return refuse("", "unknown option '" + first + "'");
    const CommandHelp* command = trovelin::cli::findCommandHelp(first);
    if (!command) return refuse("", "unknown command '" + first + "'");
    const ParsedArguments parsed = trovelin::cli::parseArguments(*command, rest);
    if (!parsed.error.empty()) return refuse(first, parsed.error);
    if (parsed.has("help") || parsed.has("h")) {
        trovelin::cli::printCommandHelp(*command, std::cout);
        return 0;
    }
    if (first == "harvest") return runHarvest(argv[0], parsed);
    if (first == "extract") return runExtract(parsed);
    if (first == "render") return runRender(argv[0], parsed);
    if (first == "gallery") return runGallery(argv[0], parsed);
    if (first == "widget") return runWidget(argv[0], parsed);
    if (first == "thumbnail") return runThumbnail(argv[0], parsed);
    return runDump(argv[0], parsed);
}

}  // namespace

int main(int argc, char** argv)
{
    trovelin::cli::cleanUpOnInterrupt();
    trovelin::cli::CheckedStandardOutput standardOutput;
    return standardOutput.finish(runCommand(argc, argv));
}
