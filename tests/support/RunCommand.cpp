#include "support/RunCommand.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace trovelin::testing {

namespace {

namespace fs = std::filesystem;

std::string takeContents(const fs::path& path)
{
    std::stringstream text;
    {
        std::ifstream in(path);
        text << in.rdbuf();
    }
    fs::remove(path);
    return text.str();
}

}  // namespace

CommandOutcome runCommand(const std::string& shellCommand)
{
    const fs::path base = fs::temp_directory_path() / ("trovelin-command-" + std::to_string(::getpid()));
    const fs::path out = base.string() + ".out";
    const fs::path err = base.string() + ".err";
    const int status = std::system(("(" + shellCommand + ") >'" + out.string() + "' 2>'" + err.string() + "'").c_str());
    CommandOutcome outcome;
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    outcome.out = takeContents(out);
    outcome.err = takeContents(err);
    return outcome;
}

bool installed(const std::string& program)
{
    return runCommand("command -v '" + program + "'").status == 0;
}

}  // namespace trovelin::testing
