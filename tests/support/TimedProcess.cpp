#include "support/TimedProcess.h"

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>

extern char** environ;

namespace trovelin::testing {

ProcessRun runProcess(const std::string& shellCommand)
{
    const char* argv[] = {"/bin/sh", "-c", shellCommand.c_str(), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    ProcessRun run;
    if (::posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) return run;
    int status = 0;
    struct rusage usage {};
    ::wait4(pid, &status, 0, &usage);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024;
    return run;
}

}  // namespace trovelin::testing
