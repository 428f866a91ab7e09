#pragma once
// Standard output for scripts: what the commands print goes to descriptor 1 through a buffer
// that keeps the first write error, so that a full disk or a closed pipe ends the run with
// "Cannot write standard output: <reason>" and status 1 instead of a silent success.

#include <memory>
#include <streambuf>

namespace trovelin::cli {

class CheckedStandardOutput {
public:
    // Puts std::cout on the checked buffer for the object's lifetime.
    CheckedStandardOutput();
    ~CheckedStandardOutput();
    CheckedStandardOutput(const CheckedStandardOutput&) = delete;
    CheckedStandardOutput& operator=(const CheckedStandardOutput&) = delete;

    // Writes out what is buffered; `status` when everything reached descriptor 1, else 1 after
    // the message on standard error.
    int finish(int status);

private:
    class Buffer;
    std::unique_ptr<Buffer> buffer_;
    std::streambuf* previous_;
};

}  // namespace trovelin::cli
