#pragma once
// The one byte stream type every parser reads through. Reads that run past the end
// fail with "Stream read error"; nothing is ever read out of bounds.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace trovelin {

class PixelBudget;

enum class SeekOrigin { Begin, Current, End };

class Stream {
public:
    virtual ~Stream() = default;

    // Reads up to `count` bytes; returns how many were read (fewer only at the end).
    virtual std::size_t read(void* destination, std::size_t count) = 0;
    // Moves the position, clamped to 0..size(); returns the new position.
    virtual std::int64_t seek(std::int64_t offset, SeekOrigin origin) = 0;
    virtual std::int64_t size() const = 0;

    std::int64_t position() { return seek(0, SeekOrigin::Current); }
    void setPosition(std::int64_t position) { seek(position, SeekOrigin::Begin); }
    std::int64_t remaining() { return size() - position(); }

    // Reads exactly `count` bytes or fails with "Stream read error".
    void readExact(void* destination, std::size_t count);
    std::uint8_t readU8();
    std::uint16_t readU16();
    std::uint32_t readU32();
    // All bytes from the position to the end.
    std::vector<std::uint8_t> readToEnd();
    // Lends the next `count` bytes in place and moves past them, for streams that hold their
    // bytes in memory; null, with the position unchanged, for others or when fewer remain.
    virtual const std::uint8_t* borrow(std::size_t) { return nullptr; }

    // The budget that pictures decoded from this stream's bytes are charged to; null: none.
    PixelBudget* pixelBudget() const { return pixelBudget_; }
    void setPixelBudget(PixelBudget* budget) { pixelBudget_ = budget; }

private:
    PixelBudget* pixelBudget_ = nullptr;
};

// A stream over bytes held in memory, owned by the stream.
class MemoryStream : public Stream {
public:
    MemoryStream() = default;
    // Allocates `size` bytes without initialising them; fill them through data().
    explicit MemoryStream(std::size_t size);
    explicit MemoryStream(std::span<const std::uint8_t> bytes);

    std::size_t read(void* destination, std::size_t count) override;
    std::int64_t seek(std::int64_t offset, SeekOrigin origin) override;
    std::int64_t size() const override { return static_cast<std::int64_t>(size_); }
    const std::uint8_t* borrow(std::size_t count) override;

    std::uint8_t* data() { return data_.get(); }
    std::span<const std::uint8_t> bytes() const { return {data_.get(), size_}; }

private:
    std::unique_ptr<std::uint8_t[]> data_;
    std::size_t size_ = 0;
    std::size_t position_ = 0;
};

// A stream over bytes that somebody else owns and keeps alive.
class ByteViewStream : public Stream {
public:
    explicit ByteViewStream(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t read(void* destination, std::size_t count) override;
    std::int64_t seek(std::int64_t offset, SeekOrigin origin) override;
    std::int64_t size() const override { return static_cast<std::int64_t>(bytes_.size()); }
    const std::uint8_t* borrow(std::size_t count) override;

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

// A window of `size` bytes of another stream, starting at that stream's position. Reads and
// seeks stay inside the window, so a nested value never reads its neighbour's bytes. The window
// moves the other stream's position; nobody else may use it meanwhile. It charges pictures to
// the other stream's budget.
class SubStream : public Stream {
public:
    SubStream(Stream& base, std::int64_t size);

    std::size_t read(void* destination, std::size_t count) override;
    std::int64_t seek(std::int64_t offset, SeekOrigin origin) override;
    std::int64_t size() const override { return size_; }
    const std::uint8_t* borrow(std::size_t count) override;

private:
    Stream& base_;
    std::int64_t start_;
    std::int64_t size_;
    std::int64_t position_ = 0;
};

// A stream over an open file descriptor, which the stream closes.
class FileStream : public Stream {
public:
    // Opens `path` for reading; fails with "Cannot open file %s".
    explicit FileStream(const std::string& path);
    // Takes over a descriptor that the caller opened (with its own sharing rules).
    FileStream(int descriptor, std::string path);
    ~FileStream() override;
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;

    std::size_t read(void* destination, std::size_t count) override;
    std::int64_t seek(std::int64_t offset, SeekOrigin origin) override;
    std::int64_t size() const override { return size_; }

    const std::string& path() const { return path_; }

private:
    int descriptor_;
    std::string path_;
    std::int64_t size_;
};

}  // namespace trovelin
