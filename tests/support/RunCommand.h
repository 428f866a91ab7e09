#pragma once
// Runs a shell command as a user would, for tests of whole programs and of system tools.

#include <string>

namespace trovelin::testing {

struct CommandOutcome {
    int status = -1;  // the exit status; -1 when the command did not exit normally
    std::string out;
    std::string err;
};

CommandOutcome runCommand(const std::string& shellCommand);
// Whether the shell finds `program`.
bool installed(const std::string& program);

}  // namespace trovelin::testing
