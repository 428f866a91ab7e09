#pragma once
// `trovelin-cli extract`: every picture of every panel file of whole folder trees. Each file is
// loaded alone, as `harvest FILE` loads it, on as many threads as asked; its pictures go to a
// folder of their own and a manifest of one JSON line per picture and per event follows the run
// in file order.

#include <cstdint>
#include <iosfwd>
#include <stop_token>
#include <string>
#include <vector>

namespace trovelin::cli {

struct ExtractOptions {
    std::vector<std::string> paths;  // panel files, or folders walked for their "*.kvr" files
    std::string outputFolder;        // where the PNG files and manifest.jsonl go; empty: none
    bool json = false;               // the manifest's lines to standard output as well
    bool unique = false;             // a content already written is not written again
    bool failFast = false;           // stop at the first file that fails
    unsigned jobs = 1;               // files loaded and encoded at once
    std::uint64_t pixelBudgetBytes = 0;
    bool quiet = false;
    bool progressIsTerminal = false;
    // Asks the run to stop once the files in flight are written: the program connects SIGINT,
    // SIGTERM and the like to it, the Python package Ctrl+C.
    std::stop_token stop = {};
};

// What extract returns when its stop token stopped it.
inline constexpr int extractInterrupted = -1;

inline constexpr const char* extractManifestName = "manifest.jsonl";

// Runs the extraction; returns 0 when every file loaded and every picture was written, 1
// otherwise, extractInterrupted when the stop token asked it to stop (the files in flight are
// finished first).
// Manifest lines go to `out` with --json; events, progress and the interruption to `progress`.
int extract(const ExtractOptions& options, std::ostream& out, std::ostream& progress);

}  // namespace trovelin::cli
