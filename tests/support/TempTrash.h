#pragma once
// The desktop's trash in a home folder of the test's own (HOME, and XDG_DATA_HOME its
// ".local/share", both put back afterwards), a snapshot of a folder's files, to check byte for
// byte what must survive a file action, and a deadline for steps that must answer at once.
// GLib reads HOME and XDG_DATA_HOME once per process: a test keeps its folder and changes what is
// in it (a fresh account has no ".local" yet; where no trash can be made, a file stands in its way).

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace trovelin::testing {

class TempTrash {
public:
    explicit TempTrash(const std::filesystem::path& home) : home_(home)
    {
        for (const char* name : {"HOME", "XDG_DATA_HOME"})
            if (const char* previous = std::getenv(name)) previous_[name] = previous;
        std::filesystem::create_directories(dataHome());
        ::setenv("HOME", home_.c_str(), 1);
        ::setenv("XDG_DATA_HOME", dataHome().c_str(), 1);
    }
    ~TempTrash()
    {
        for (const char* name : {"HOME", "XDG_DATA_HOME"}) {
            if (const auto previous = previous_.find(name); previous != previous_.end())
                ::setenv(name, previous->second.c_str(), 1);
            else
                ::unsetenv(name);
        }
    }
    TempTrash(const TempTrash&) = delete;
    TempTrash& operator=(const TempTrash&) = delete;

    std::filesystem::path home() const { return home_; }
    std::filesystem::path dataHome() const { return home_ / ".local" / "share"; }
    std::filesystem::path files() const { return dataHome() / "Trash" / "files"; }
    std::filesystem::path info() const { return dataHome() / "Trash" / "info"; }

private:
    std::filesystem::path home_;
    std::map<std::string, std::string> previous_;
};

// Ends the test program (SIGALRM) if it is still inside the scope after `seconds`: a step that
// hangs fails instead of holding the test run for ever.
class Deadline {
public:
    explicit Deadline(unsigned seconds) { ::alarm(seconds); }
    ~Deadline() { ::alarm(0); }
    Deadline(const Deadline&) = delete;
    Deadline& operator=(const Deadline&) = delete;
};

inline std::string fileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every regular file of the folder (not below it), by name, with its bytes.
inline std::map<std::string, std::string> folderSnapshot(const std::filesystem::path& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.is_regular_file()) files[entry.path().filename().string()] = fileBytes(entry.path());
    return files;
}

}  // namespace trovelin::testing
