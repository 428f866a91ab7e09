#include "cli/PictureFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sstream>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "panelfile/PictureFiles.h"
#include "panelfile/PictureList.h"
#include "platform/ReplacingFile.h"
#include "streaming/Errors.h"

namespace trovelin::cli {

namespace fs = std::filesystem;

std::string prepareOutputFolder(const std::string& folder)
{
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) return "Cannot create " + folder + ": " + error.message();
    if (!fs::is_directory(folder, error)) return "Cannot create " + folder + ": " + std::strerror(ENOTDIR);
    if (::access(folder.c_str(), W_OK | X_OK) != 0) return "Cannot write " + folder + ": " + std::strerror(errno);
    return {};
}

namespace {

// "000.png", "1000.png": the names pictures are written as.
bool isPictureName(const std::string& name)
{
    const std::size_t digits = name.size() - std::min(name.size(), std::size_t{4});
    return digits >= 3 && name.compare(digits, 4, ".png") == 0 &&
           std::all_of(name.begin(), name.begin() + static_cast<std::ptrdiff_t>(digits),
                       [](char c) { return c >= '0' && c <= '9'; });
}

// The folders and the file name of a relative path made only of plain names; empty when it has
// anything else (an absolute path, "..", ".", an empty part).
std::vector<std::string> plainParts(const std::string& path)
{
    std::vector<std::string> parts;
    for (std::size_t start = 0;;) {
        const std::size_t slash = path.find('/', start);
        std::string part = path.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        if (part.empty() || part == "." || part == ".." || part.find('\0') != std::string::npos) return {};
        parts.push_back(std::move(part));
        if (slash == std::string::npos) return parts;
        start = slash + 1;
    }
}

// The bytes of a "png_bytes" field, given in hexadecimal; empty when it is not that.
std::string fromHex(const QString& hex)
{
    const QByteArray bytes = QByteArray::fromHex(hex.toLatin1());
    return bytes.toHex() == hex.toLatin1().toLower() ? bytes.toStdString() : std::string();
}

// The bytes of an earlier run's pictures.json; empty when the name holds no regular file (a link
// is replaced by the new list, not read; a named pipe would block) or one larger than any list
// of 512 pictures this program writes.
QByteArray earlierPictureList(const std::string& path)
{
    constexpr off_t largestList = off_t{16} << 20;
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) return {};
    QByteArray bytes;
    struct stat status {};
    if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && status.st_size <= largestList) {
        bytes.resize(static_cast<qsizetype>(status.st_size));
        qsizetype done = 0;
        for (ssize_t count; done < bytes.size() && (count = ::read(descriptor, bytes.data() + done, static_cast<std::size_t>(bytes.size() - done))) != 0;) {
            if (count < 0 && errno == EINTR) continue;
            if (count < 0) break;
            done += count;
        }
        bytes.truncate(done);
    }
    ::close(descriptor);
    return bytes;
}

}  // namespace

std::set<std::string> picturesNamedByManifest(const std::string& manifestPath)
{
    std::set<std::string> names;
    // Only the regular file of that name is the earlier run's manifest: a link is replaced by
    // the new one, not read, and a named pipe or a device would block or never end.
    const int descriptor = ::open(manifestPath.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) return names;
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        return names;
    }
    const auto take = [&](const std::string& line) {
        const QJsonObject entry = QJsonDocument::fromJson(QByteArray::fromStdString(line)).object();
        // A name that is not UTF-8 is given in full only as bytes.
        const std::string name = entry.contains("png_bytes") ? fromHex(entry.value("png_bytes").toString())
                                                             : entry.value("png").toString().toStdString();
        const std::vector<std::string> parts = plainParts(name);
        if (!parts.empty() && isPictureName(parts.back())) names.insert(name);
    };
    // A line longer than any this program writes is no line of ours; it is passed over unread
    // rather than held whole, whatever its length.
    constexpr std::size_t longestLine = std::size_t{1} << 20;
    std::string line;
    bool overlong = false;
    std::vector<char> block(std::size_t{1} << 16);
    for (ssize_t count; (count = ::read(descriptor, block.data(), block.size())) != 0;) {
        if (count < 0) {
            if (errno == EINTR) continue;
            break;
        }
        for (std::size_t start = 0; start < static_cast<std::size_t>(count);) {
            const auto end = std::find(block.begin() + static_cast<std::ptrdiff_t>(start), block.begin() + count, '\n');
            const std::size_t length = static_cast<std::size_t>(end - block.begin()) - start;
            if (!overlong && line.size() + length <= longestLine)
                line.append(block.data() + start, length);
            else
                overlong = true;
            start += length;
            if (end == block.begin() + count) break;
            if (!overlong) take(line);
            line.clear();
            overlong = false;
            ++start;
        }
    }
    if (!overlong) take(line);
    ::close(descriptor);
    return names;
}

int createManifest(const std::string& path)
{
    // A link of that name is replaced, never followed out of the folder; a named pipe nobody
    // reads fails at once (ENXIO) instead of holding the run.
    int descriptor = -1;
    for (int attempt = 0; attempt < 2; ++attempt) {
        descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY,
                            0666);
        struct stat status {};
        if (descriptor >= 0 || errno != ELOOP || ::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode) ||
            ::unlink(path.c_str()) != 0)
            break;
    }
    if (descriptor >= 0) ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    return descriptor;
}

void removeLeftTemporaryPictures(const std::string& folder)
{
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0) return;
    DIR* listing = ::fdopendir(descriptor);
    if (listing == nullptr) {
        ::close(descriptor);
        return;
    }
    // ".000.png.Ab3dE9": a picture's name between a dot and the six letters a temporary file gets.
    const auto isTemporaryPicture = [](const std::string& name) {
        constexpr std::size_t tail = 7;
        if (name.size() < 1 + tail || name.front() != '.' || name[name.size() - tail] != '.') return false;
        return isPictureName(name.substr(1, name.size() - 1 - tail)) &&
               std::all_of(name.end() - tail + 1, name.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)); });
    };
    std::vector<std::string> left;
    while (const dirent* entry = ::readdir(listing))
        if (isTemporaryPicture(entry->d_name)) left.emplace_back(entry->d_name);
    for (const std::string& name : left) {
        struct stat status {};
        if (::fstatat(descriptor, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(status.st_mode))
            ::unlinkat(descriptor, name.c_str(), 0);
    }
    ::closedir(listing);
}

std::vector<LoadEvent> removeEarlierPictures(const std::string& folder, const std::set<std::string>& earlier,
                                             const std::set<std::string>& kept)
{
    std::vector<LoadEvent> failures;
    for (const std::string& name : earlier) {
        if (kept.contains(name)) continue;
        // Each folder is entered by its own name, never through a link, so that nothing outside
        // the output folder is reached whatever the tree holds now.
        const std::vector<std::string> parts = plainParts(name);
        int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        for (std::size_t i = 0; descriptor >= 0 && i + 1 < parts.size(); ++i) {
            const int next = ::openat(descriptor, parts[i].c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            ::close(descriptor);
            descriptor = next;
        }
        if (descriptor < 0) continue;  // gone, or no folder of ours
        struct stat status {};
        const char* file = parts.back().c_str();
        if (::fstatat(descriptor, file, &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(status.st_mode) &&
            ::unlinkat(descriptor, file, 0) != 0 && errno != ENOENT) {
            const std::string path = (fs::path(folder) / name).string();
            failures.push_back({path, "error", "Cannot remove " + path + ": " + std::strerror(errno)});
        }
        ::close(descriptor);
    }
    return failures;
}

std::string PictureFolder::prepare()
{
    if (std::string failure = prepareOutputFolder(folder_); !failure.empty()) return failure;

    // Only a picture that had a size was written as a file.
    const QJsonDocument earlier = QJsonDocument::fromJson(earlierPictureList((fs::path(folder_) / pictureManifestName).string()));
    for (const QJsonValue picture : earlier.object().value("pictures").toArray()) {
        const QJsonObject entry = picture.toObject();
        const int index = entry.value("index").toInt(-1);
        if (index >= 0 && entry.value("width").toInt() > 0 && entry.value("height").toInt() > 0)
            earlierPictures_.insert(index);
    }
    return {};
}

std::vector<PictureFileFailure> PictureFolder::finish(const PictureList& pictures,
                                                      const std::vector<LoadEvent>& events)
{
    for (const int index : earlierPictures_) {
        if (index < pictures.count() && !pictures.at(index).empty()) continue;
        const fs::path file = fs::path(folder_) / (threeDigits(index) + ".png");
        struct stat status {};
        if (::lstat(file.c_str(), &status) == 0 && S_ISREG(status.st_mode)) ::unlink(file.c_str());
    }
    std::ostringstream manifest;
    writePictureManifest(pictures, events, manifest);
    const std::string text = std::move(manifest).str();
    const std::string path = (fs::path(folder_) / pictureManifestName).string();
    try {
        writeFileOverName(path, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    } catch (const Exception& error) {
        return {{path, error.message()}};
    }
    return {};
}

}  // namespace trovelin::cli
