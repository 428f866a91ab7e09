#include "cli/OffscreenApplication.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <QGuiApplication>

#include "cli/Interruption.h"

namespace trovelin::cli {

namespace {

// What Qt asks of a runtime folder before it uses it without a word.
bool isUsableRuntimeFolder(const QByteArray& path)
{
    struct stat status {};
    return !path.isEmpty() && ::lstat(path.constData(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == ::geteuid() && (status.st_mode & 07777) == 0700;
}

// A private runtime folder for the run, when the environment gives none that Qt accepts.
class RuntimeFolder {
public:
    RuntimeFolder()
    {
        if (isUsableRuntimeFolder(qgetenv("XDG_RUNTIME_DIR"))) return;
        std::string pattern = (std::filesystem::temp_directory_path() / "trovelin-cli-XXXXXX").string();
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        // mkdtemp makes it with mode 0700, as Qt wants. Failing that, Qt's own fallback stands.
        if (::mkdtemp(name.data()) == nullptr) return;
        path_ = name.data();
        removeFolderOnInterrupt(path_.c_str());
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(path_));
    }
    ~RuntimeFolder()
    {
        removeFolderOnInterrupt(nullptr);
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    RuntimeFolder(const RuntimeFolder&) = delete;
    RuntimeFolder& operator=(const RuntimeFolder&) = delete;

private:
    std::string path_;
};

}  // namespace

int runWithOffscreenApplication(char* programName, const std::function<int()>& command)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const RuntimeFolder runtimeFolder;
    int qtArgumentCount = 1;
    char* qtArguments[] = {programName, nullptr};
    QGuiApplication application(qtArgumentCount, qtArguments);
    return command();
}

}  // namespace trovelin::cli
