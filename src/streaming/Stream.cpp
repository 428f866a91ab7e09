#include "streaming/Stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "streaming/Errors.h"
#include "streaming/LittleEndian.h"

namespace trovelin {

namespace {

std::size_t clampedSeek(std::int64_t offset, SeekOrigin origin, std::size_t position, std::size_t size)
{
    std::int64_t base = 0;
    switch (origin) {
    case SeekOrigin::Begin: base = 0; break;
    case SeekOrigin::Current: base = static_cast<std::int64_t>(position); break;
    case SeekOrigin::End: base = static_cast<std::int64_t>(size); break;
    }
    std::int64_t target = 0;
    if (__builtin_add_overflow(base, offset, &target)) target = offset < 0 ? 0 : static_cast<std::int64_t>(size);
    return static_cast<std::size_t>(std::clamp<std::int64_t>(target, 0, static_cast<std::int64_t>(size)));
}

std::size_t copyOut(std::span<const std::uint8_t> bytes, std::size_t& position, void* destination,
                    std::size_t count)
{
    std::size_t available = bytes.size() - position;
    std::size_t n = std::min(count, available);
    if (n != 0) std::memcpy(destination, bytes.data() + position, n);
    position += n;
    return n;
}

const std::uint8_t* lend(std::span<const std::uint8_t> bytes, std::size_t& position, std::size_t count)
{
    if (count > bytes.size() - position) return nullptr;
    const std::uint8_t* lent = bytes.data() + position;
    position += count;
    return lent;
}

}  // namespace

void Stream::readExact(void* destination, std::size_t count)
{
    if (read(destination, count) != count) throw EReadError(messages::streamReadError);
}

std::uint8_t Stream::readU8()
{
    std::uint8_t value;
    readExact(&value, 1);
    return value;
}

std::uint16_t Stream::readU16()
{
    std::uint8_t b[2];
    readExact(b, 2);
    return readLe16(b);
}

std::uint32_t Stream::readU32()
{
    std::uint8_t b[4];
    readExact(b, 4);
    return readLe32(b);
}

std::vector<std::uint8_t> Stream::readToEnd()
{
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::max<std::int64_t>(remaining(), 0)));
    readExact(bytes.data(), bytes.size());
    return bytes;
}

MemoryStream::MemoryStream(std::size_t size)
    : data_(std::make_unique_for_overwrite<std::uint8_t[]>(size)), size_(size)
{
}

MemoryStream::MemoryStream(std::span<const std::uint8_t> bytes) : MemoryStream(bytes.size())
{
    if (!bytes.empty()) std::memcpy(data_.get(), bytes.data(), bytes.size());
}

std::size_t MemoryStream::read(void* destination, std::size_t count)
{
    return copyOut(bytes(), position_, destination, count);
}

const std::uint8_t* MemoryStream::borrow(std::size_t count)
{
    return lend(bytes(), position_, count);
}

std::int64_t MemoryStream::seek(std::int64_t offset, SeekOrigin origin)
{
    position_ = clampedSeek(offset, origin, position_, size_);
    return static_cast<std::int64_t>(position_);
}

std::size_t ByteViewStream::read(void* destination, std::size_t count)
{
    return copyOut(bytes_, position_, destination, count);
}

const std::uint8_t* ByteViewStream::borrow(std::size_t count)
{
    return lend(bytes_, position_, count);
}

std::int64_t ByteViewStream::seek(std::int64_t offset, SeekOrigin origin)
{
    position_ = clampedSeek(offset, origin, position_, bytes_.size());
    return static_cast<std::int64_t>(position_);
}

SubStream::SubStream(Stream& base, std::int64_t size)
    : base_(base), start_(base.position()), size_(std::clamp<std::int64_t>(size, 0, base.remaining()))
{
    setPixelBudget(base.pixelBudget());
}

std::size_t SubStream::read(void* destination, std::size_t count)
{
    const auto allowed = static_cast<std::size_t>(size_ - position_);
    const std::size_t got = base_.read(destination, std::min(count, allowed));
    position_ += static_cast<std::int64_t>(got);
    return got;
}

const std::uint8_t* SubStream::borrow(std::size_t count)
{
    if (count > static_cast<std::uint64_t>(size_ - position_)) return nullptr;
    const std::uint8_t* lent = base_.borrow(count);
    if (lent) position_ += static_cast<std::int64_t>(count);
    return lent;
}

std::int64_t SubStream::seek(std::int64_t offset, SeekOrigin origin)
{
    const auto target = static_cast<std::int64_t>(
        clampedSeek(offset, origin, static_cast<std::size_t>(position_), static_cast<std::size_t>(size_)));
    if (target != position_) position_ = base_.seek(start_ + target, SeekOrigin::Begin) - start_;
    return position_;
}

// Non-blocking, so that opening a FIFO cannot wait for a writer; it is refused below anyway.
FileStream::FileStream(const std::string& path)
    : FileStream(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK), path)
{
}

FileStream::FileStream(int descriptor, std::string path) : descriptor_(descriptor), path_(std::move(path))
{
    // Only regular files have a size and positions; folders, devices and pipes are refused.
    struct stat status {};
    if (descriptor_ < 0 || ::fstat(descriptor_, &status) != 0 || !S_ISREG(status.st_mode)) {
        const std::string reason = descriptor_ < 0            ? std::strerror(errno)
                                   : S_ISDIR(status.st_mode) ? std::strerror(EISDIR)
                                                             : "Not a regular file";
        if (descriptor_ >= 0) ::close(descriptor_);
        throw EFOpenError(cannotOpenFileMessage(path_), reason);
    }
    size_ = status.st_size;
}

FileStream::~FileStream()
{
    ::close(descriptor_);
}

std::size_t FileStream::read(void* destination, std::size_t count)
{
    auto* out = static_cast<std::uint8_t*>(destination);
    std::size_t done = 0;
    while (done < count) {
        ssize_t n = ::read(descriptor_, out + done, count - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

std::int64_t FileStream::seek(std::int64_t offset, SeekOrigin origin)
{
    std::int64_t current = std::max<std::int64_t>(::lseek(descriptor_, 0, SEEK_CUR), 0);
    std::int64_t target =
        static_cast<std::int64_t>(clampedSeek(offset, origin, static_cast<std::size_t>(current),
                                              static_cast<std::size_t>(size_)));
    return ::lseek(descriptor_, target, SEEK_SET);
}

}  // namespace trovelin
