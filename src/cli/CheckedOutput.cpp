#include "cli/CheckedOutput.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <streambuf>
#include <vector>

namespace trovelin::cli {

class CheckedStandardOutput::Buffer : public std::streambuf {
public:
    Buffer() : space_(64 * 1024) { setp(space_.data(), space_.data() + space_.size()); }

    int error() const { return error_; }

protected:
    int_type overflow(int_type character) override
    {
        if (!drain()) return traits_type::eof();
        if (traits_type::eq_int_type(character, traits_type::eof())) return traits_type::not_eof(character);
        *pptr() = traits_type::to_char_type(character);
        pbump(1);
        return character;
    }
    int sync() override { return drain() ? 0 : -1; }

private:
    // Writes out the buffer; after a failure later output is dropped, the first error kept.
    bool drain()
    {
        const char* next = pbase();
        while (error_ == 0 && next < pptr()) {
            const ssize_t written = ::write(STDOUT_FILENO, next, static_cast<std::size_t>(pptr() - next));
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) error_ = written < 0 ? errno : EIO;
            else next += written;
        }
        setp(space_.data(), space_.data() + space_.size());
        return error_ == 0;
    }

    std::vector<char> space_;
    int error_ = 0;
};

CheckedStandardOutput::CheckedStandardOutput()
    : buffer_(std::make_unique<Buffer>()), previous_(std::cout.rdbuf(buffer_.get()))
{
}

CheckedStandardOutput::~CheckedStandardOutput() { std::cout.rdbuf(previous_); }

int CheckedStandardOutput::finish(int status)
{
    std::cout.flush();
    if (buffer_->error() == 0) return status;
    std::cerr << "Cannot write standard output: " << std::strerror(buffer_->error()) << std::endl;
    return 1;
}

}  // namespace trovelin::cli
