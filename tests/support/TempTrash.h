#pragma once
// The desktop's trash in a folder of the test's own (XDG_DATA_HOME, put back afterwards), and a
// snapshot of a folder's files, to check byte for byte what must survive a file action.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>

namespace trovelin::testing {

class TempTrash {
public:
    explicit TempTrash(const std::filesystem::path& dataHome) : dataHome_(dataHome)
    {
        if (const char* previous = std::getenv("XDG_DATA_HOME")) previous_ = previous;
        std::filesystem::create_directories(dataHome);
        ::setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
    }
    ~TempTrash()
    {
        if (previous_) ::setenv("XDG_DATA_HOME", previous_->c_str(), 1);
        else ::unsetenv("XDG_DATA_HOME");
    }
    TempTrash(const TempTrash&) = delete;
    TempTrash& operator=(const TempTrash&) = delete;

    std::filesystem::path files() const { return dataHome_ / "Trash" / "files"; }
    std::filesystem::path info() const { return dataHome_ / "Trash" / "info"; }

private:
    std::filesystem::path dataHome_;
    std::optional<std::string> previous_;
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
