#pragma once
// Reading a command's arguments as other tools do: options in any order, `--opt=value` and
// `--opt value`, `--` ending the options, short flags together. The options come from the
// command's help (Usage.h), so that what --help lists and what the parser takes never differ.

#include <map>
#include <string>
#include <vector>

#include "cli/Usage.h"

namespace trovelin::cli {

struct ParsedArguments {
    std::map<std::string, std::string> values;  // the last value of each option given, by its long name
    std::vector<std::string> flags;             // flags given, by their long name or letter
    std::vector<std::string> positional;        // the other arguments, bytes as given
    std::string error;                          // "unknown option '--bogus'"; empty when none

    bool has(const std::string& option) const;
    const std::string* value(const std::string& option) const;
};

// Parses the arguments after the command's name; every command takes -h and --help too.
ParsedArguments parseArguments(const CommandHelp& command, const std::vector<std::string>& arguments);

}  // namespace trovelin::cli
