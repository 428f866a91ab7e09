#pragma once
// Many output files made durable together. Each file is written under a temporary name beside
// its final one; commit() then brings all of them to the disk at once, renames them into place
// and brings the new names to the disk, so that one sync stands for a whole batch instead of
// one per file. Until commit() returns a file's name is the old file or missing, never a part
// of the new one; after a crash or a power loss a file has its old content or its whole new one.
//
// As writeFileReplacing: outputs get mode 0666 less the umask the program started with, only a
// regular file or a missing name is renamed over, a symbolic link is followed once and its target
// replaced, and a device, a FIFO or a socket is written into at once.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace trovelin {

struct FileBatchFailure {
    std::string path;
    std::string text;  // "Cannot write %s: <reason>"
};

class FileBatch {
public:
    // How the files reach the disk. One syncfs for the batch's file system costs what one fsync
    // of a file costs (a single file is best synced on its own, without the rest of the disk);
    // each distinct folder, or each file system, is synced once for the new names.
    enum class Sync { EachFile, WholeFileSystem };

    explicit FileBatch(Sync sync = Sync::WholeFileSystem);
    ~FileBatch();  // removes the files not committed
    FileBatch(FileBatch&& other) noexcept;
    FileBatch& operator=(FileBatch&& other) noexcept;

    // Writes `bytes` as the next content of `path`. Fails with "Cannot write %s: <reason>", the
    // temporary file then gone.
    void write(const std::string& path, std::span<const std::uint8_t> bytes);
    // As write, but a symbolic link named `path` is replaced, not followed.
    void writeOverName(const std::string& path, std::span<const std::uint8_t> bytes);
    // Moves the files `other` holds into this batch.
    void take(FileBatch&& other);
    std::size_t size() const;

    // Syncs the files, renames them, syncs the names. Returns the files that did not commit,
    // in the order written: a failed sync fails every file it stood for, with its first error.
    // The batch is empty afterwards.
    std::vector<FileBatchFailure> commit();

private:
    struct Staged;
    void stage(const std::string& path, const std::filesystem::path& target, std::span<const std::uint8_t> bytes);

    Sync sync_;
    std::vector<std::unique_ptr<Staged>> staged_;
};

}  // namespace trovelin
