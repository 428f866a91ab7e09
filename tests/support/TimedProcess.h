#pragma once
// Runs a shell command as a whole process for benchmarks: its wall time and the largest
// resident size of the processes it started.

#include <string>

namespace trovelin::testing {

struct ProcessRun {
    double seconds = 0;
    double peakMiB = 0;
    int status = -1;  // the exit status; -1 when it did not exit normally or never started
};

ProcessRun runProcess(const std::string& shellCommand);

}  // namespace trovelin::testing
