#include "streaming/NameIndex.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <random>

#include "streaming/Component.h"
#include "streaming/TypeInfo.h"

namespace trovelin {

namespace {

constexpr std::size_t firstCapacity = 16;

// Eight bytes of a name at once, in lower case: a byte in 'A'..'Z' gains 0x20. No byte
// carries into its neighbour, since each sum stays below 0x100.
std::uint64_t foldedWord(std::string_view bytes)
{
    constexpr std::uint64_t ones = 0x0101010101010101;
    std::uint64_t word = 0;
    std::memcpy(&word, bytes.data(), std::min<std::size_t>(bytes.size(), 8));
    const std::uint64_t low7 = word & (0x7f * ones);
    const std::uint64_t fromA = low7 + (0x80 - 'A') * ones;       // high bit: at least 'A'
    const std::uint64_t pastZ = low7 + (0x80 - 'Z' - 1) * ones;   // high bit: past 'Z'
    const std::uint64_t capitals = fromA & ~pastZ & ~word & (0x80 * ones);
    return word | (capitals >> 2);
}

// SipHash-1-3 over the name in lower case: short names hash in a few dozen instructions,
// and without the key nobody can choose names that collide.
class SipHash {
public:
    SipHash(std::uint64_t key0, std::uint64_t key1)
        : v0_(key0 ^ 0x736f6d6570736575), v1_(key1 ^ 0x646f72616e646f6d), v2_(key0 ^ 0x6c7967656e657261),
          v3_(key1 ^ 0x7465646279746573)
    {
    }

    std::uint64_t foldedHash(std::string_view text)
    {
        std::size_t at = 0;
        for (; at + 8 <= text.size(); at += 8) absorb(foldedWord(text.substr(at, 8)));
        absorb(foldedWord(text.substr(at)) | (static_cast<std::uint64_t>(text.size()) << 56));
        v2_ ^= 0xff;
        for (int i = 0; i < 3; ++i) round();
        return v0_ ^ v1_ ^ v2_ ^ v3_;
    }

private:
    void absorb(std::uint64_t word)
    {
        v3_ ^= word;
        round();
        v0_ ^= word;
    }
    void round()
    {
        v0_ += v1_;
        v1_ = std::rotl(v1_, 13) ^ v0_;
        v0_ = std::rotl(v0_, 32);
        v2_ += v3_;
        v3_ = std::rotl(v3_, 16) ^ v2_;
        v0_ += v3_;
        v3_ = std::rotl(v3_, 21) ^ v0_;
        v2_ += v1_;
        v1_ = std::rotl(v1_, 17) ^ v2_;
        v2_ = std::rotl(v2_, 32);
    }

    std::uint64_t v0_, v1_, v2_, v3_;
};

}  // namespace

Component* NameIndex::find(std::string_view name) const
{
    if (name.empty() || count_ == 0) return nullptr;
    return slots_[slotOf(name, hashOf(name))].component;
}

Component* NameIndex::insert(Component* component)
{
    const std::string& name = component->name();
    if (name.empty()) return nullptr;
    if ((count_ + 1) * 2 > slots_.size()) grow();
    const std::uint64_t hash = hashOf(name);
    Slot& slot = slots_[slotOf(name, hash)];
    if (slot.component) return slot.component;
    slot = {hash, component};
    ++count_;
    return component;
}

// Linear probing without tombstones: the entries after the freed slot that could have sat
// in it move back, so every entry stays reachable from its home slot.
void NameIndex::erase(Component* component)
{
    const std::string& name = component->name();
    if (name.empty() || count_ == 0) return;
    std::size_t hole = slotOf(name, hashOf(name));
    if (slots_[hole].component != component) return;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t next = (hole + 1) & mask; slots_[next].component; next = (next + 1) & mask) {
        const std::size_t home = slots_[next].hash & mask;
        const bool homeAfterHole = hole <= next ? (hole < home && home <= next) : (hole < home || home <= next);
        if (homeAfterHole) continue;
        slots_[hole] = slots_[next];
        hole = next;
    }
    slots_[hole] = {};
    --count_;
}

void NameIndex::clear()
{
    std::vector<Slot>().swap(slots_);
    count_ = 0;
}

std::uint64_t NameIndex::hashOf(std::string_view name) const
{
    return SipHash(key0_, key1_).foldedHash(name);
}

std::size_t NameIndex::slotOf(std::string_view name, std::uint64_t hash) const
{
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = hash & mask;
    while (slots_[at].component &&
           !(slots_[at].hash == hash && sameText(slots_[at].component->name(), name)))
        at = (at + 1) & mask;
    return at;
}

void NameIndex::grow()
{
    if (slots_.empty()) {
        std::random_device random;
        key0_ = (static_cast<std::uint64_t>(random()) << 32) | random();
        key1_ = (static_cast<std::uint64_t>(random()) << 32) | random();
    }
    std::vector<Slot> old(std::max(firstCapacity, slots_.size() * 2));
    old.swap(slots_);
    const std::size_t mask = slots_.size() - 1;
    for (const Slot& slot : old) {
        if (!slot.component) continue;
        std::size_t at = slot.hash & mask;
        while (slots_[at].component) at = (at + 1) & mask;
        slots_[at] = slot;
    }
}

}  // namespace trovelin
