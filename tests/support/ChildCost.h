#pragma once
// What one run of a program costs, as the kernel counts it for the finished child: CPU time
// (user and system) and peak resident memory, read with wait4.

#include <cstdint>
#include <string>
#include <vector>

namespace trovelin::testing {

struct ChildCost {
    int status = -1;  // the exit status; -1 when the child did not exit normally
    double cpuSeconds = 0;
    double wallSeconds = 0;
    std::int64_t peakKiB = 0;
};

// Runs `program` with `arguments`, its standard output and error thrown away.
ChildCost runMeasured(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace trovelin::testing
