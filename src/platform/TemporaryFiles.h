#pragma once
// Temporary files that a signal handler can remove: each is listed under its name from before it
// exists until it is renamed into place or removed. The list grows with the number of files
// written at once (every thread's, and every file a batch holds until it commits), and the
// handler reads it without a lock or an allocation.

#include <cstdint>
#include <span>
#include <string>

namespace trovelin {

struct TemporaryNameSlot;

class TemporaryFile {
public:
    // Creates a file from `pattern`, whose last six letters are "XXXXXX". On failure
    // descriptor() is negative and errno says why.
    explicit TemporaryFile(const std::string& pattern);
    // Removes the file unless it was kept.
    ~TemporaryFile();
    TemporaryFile(TemporaryFile&& other) noexcept;
    TemporaryFile& operator=(TemporaryFile&& other) = delete;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int descriptor() const { return descriptor_; }
    void closeDescriptor() { descriptor_ = -1; }  // the caller closed it
    const char* name() const;
    // The file has its final name, or is gone: it leaves the list and the destructor leaves it alone.
    void keep();

private:
    TemporaryNameSlot* slot_ = nullptr;
    int descriptor_ = -1;
};

// Writes all of `bytes`, syncs them to the disk when `sync` is set, and closes the descriptor
// whatever happened. The error number of the first step that failed, or 0.
int writeSyncAndClose(int descriptor, std::span<const std::uint8_t> bytes, bool sync);

// Writes all of `bytes`; the error number of a failed write, or 0.
int writeAll(int descriptor, std::span<const std::uint8_t> bytes);

// Removes every listed temporary file; none is created afterwards. Async-signal-safe.
void removeTemporaryFiles();

}  // namespace trovelin
