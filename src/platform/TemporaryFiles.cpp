#include "platform/TemporaryFiles.h"

#include <limits.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <utility>
#include <vector>

namespace trovelin {

// A signal handler can reach nothing but static storage and what it points to, so slots live in
// chunks that are linked once and never freed, and a slot's name buffer is replaced only by a
// longer one, the shorter kept for good: a handler may still be reading it. What that keeps is at
// most the longest name's size again per slot.
struct TemporaryNameSlot {
    std::atomic<bool> listed{false};
    std::atomic<char*> name{nullptr};
    std::size_t capacity = 0;  // of `name`, guarded by the table's mutex while the slot is free
};

namespace {

struct SlotChunk {
    TemporaryNameSlot* slots = nullptr;
    std::atomic<std::size_t> count{0};  // set once `slots` is, for the handler
    std::atomic<SlotChunk*> next{nullptr};
};

SlotChunk firstChunk;
std::mutex tableMutex;  // guards growing the table and the free slots, never the handler
std::vector<TemporaryNameSlot*> freeSlots;
std::size_t slotCount = 0;
// Kept for a handler that may still read them. Never destroyed: a vector ended with the program's
// statics would leave them unreachable while a handler, or a leak checker, still looks.
std::vector<char*>& retiredNames = *new std::vector<char*>;
SlotChunk* lastChunk = &firstChunk;

// Set before the handler's sweep; no temporary file is created after it. The handler ends the
// process right after its sweep, before another thread could remove a file it was creating
// meanwhile, so the sweep waits for the creations under way to end.
std::atomic<bool> sweeping{false};
std::atomic<int> beingCreated{0};

// A free slot whose buffer holds `length` bytes; the table doubles when every slot is taken, so a
// writer never waits for another to finish, and one batch may hold as many files as it writes.
TemporaryNameSlot* takeSlot(std::size_t length)
{
    std::lock_guard lock(tableMutex);
    if (freeSlots.empty()) {
        const std::size_t added = slotCount == 0 ? 8 : slotCount;
        SlotChunk* chunk = slotCount == 0 ? &firstChunk : new SlotChunk;
        chunk->slots = new TemporaryNameSlot[added];
        chunk->count.store(added);
        if (chunk != &firstChunk) {
            lastChunk->next.store(chunk);
            lastChunk = chunk;
        }
        slotCount += added;
        for (std::size_t i = 0; i < added; ++i) freeSlots.push_back(&chunk->slots[i]);
    }
    TemporaryNameSlot* slot = freeSlots.back();
    freeSlots.pop_back();
    if (slot->capacity < length) {
        std::size_t capacity = 64;
        while (capacity < length) capacity *= 2;
        if (char* shorter = slot->name.exchange(new char[capacity])) retiredNames.push_back(shorter);
        slot->capacity = capacity;
    }
    return slot;
}

void giveBack(TemporaryNameSlot* slot)
{
    slot->listed = false;
    std::lock_guard lock(tableMutex);
    freeSlots.push_back(slot);
}

}  // namespace

TemporaryFile::TemporaryFile(const std::string& pattern)
{
    if (pattern.size() >= PATH_MAX) {
        errno = ENAMETOOLONG;
        return;
    }
    slot_ = takeSlot(pattern.size() + 1);
    // mkstemp fills in the listed name before it creates the file.
    std::memcpy(slot_->name.load(), pattern.c_str(), pattern.size() + 1);
    slot_->listed = true;
    ++beingCreated;
    if (sweeping)
        errno = EINTR;
    else
        descriptor_ = ::mkstemp(slot_->name.load());
    --beingCreated;
    if (descriptor_ < 0) {
        const int error = errno;
        giveBack(slot_);
        slot_ = nullptr;
        errno = error;
    }
}

TemporaryFile::~TemporaryFile()
{
    if (!slot_) return;
    if (descriptor_ >= 0) ::close(descriptor_);
    ::unlink(slot_->name.load());
    giveBack(slot_);
}

TemporaryFile::TemporaryFile(TemporaryFile&& other) noexcept
    : slot_(std::exchange(other.slot_, nullptr)), descriptor_(std::exchange(other.descriptor_, -1))
{
}

const char* TemporaryFile::name() const { return slot_ ? slot_->name.load() : ""; }

void TemporaryFile::keep()
{
    if (!slot_) return;
    giveBack(slot_);
    slot_ = nullptr;
}

int writeAll(int descriptor, std::span<const std::uint8_t> bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return errno;
        if (written == 0) return EIO;
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return 0;
}

int writeSyncAndClose(int descriptor, std::span<const std::uint8_t> bytes, bool sync)
{
    int error = writeAll(descriptor, bytes);
    if (error == 0 && sync && ::fsync(descriptor) != 0) error = errno;
    if (::close(descriptor) != 0 && error == 0) error = errno;
    return error;
}

void removeTemporaryFiles()
{
    sweeping = true;
    // A creation interrupted on this very thread never ends: the wait is bounded.
    const timespec pause{0, 1'000'000};
    for (int waited = 0; beingCreated > 0 && waited < 100; ++waited) ::nanosleep(&pause, nullptr);
    for (SlotChunk* chunk = &firstChunk; chunk; chunk = chunk->next.load())
        for (std::size_t i = 0; i < chunk->count; ++i)
            if (chunk->slots[i].listed) ::unlink(chunk->slots[i].name.load());
}

}  // namespace trovelin
