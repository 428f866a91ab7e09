#pragma once
// What `trovelin-cli` says about itself: the help of every command with its options and
// examples, the short usage shown after a mistake, and the version.

#include <iosfwd>
#include <string_view>
#include <vector>

namespace trovelin::cli {

struct OptionHelp {
    std::string_view option;   // "--out DIR"
    std::string_view meaning;  // one line
};

struct CommandHelp {
    std::string_view name;
    std::string_view synopsis;  // the arguments after the command's name
    std::string_view summary;   // what the command does, in a few lines
    std::vector<OptionHelp> options;
    std::vector<std::string_view> examples;
};

// Every command, in the order the help lists them.
const std::vector<CommandHelp>& commandHelp();
// Null for a name that is no command.
const CommandHelp* findCommandHelp(std::string_view name);

// The full help: every command with its options and examples, and the tool's own options.
void printHelp(std::ostream& out);
void printCommandHelp(const CommandHelp& command, std::ostream& out);
// What `help` itself does.
void printHelpOfHelp(std::ostream& out);
// One synopsis line per command and where to find more; for the error stream after a mistake.
void printUsage(std::ostream& out);
void printVersion(std::ostream& out);

}  // namespace trovelin::cli
