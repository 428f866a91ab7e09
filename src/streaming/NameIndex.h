#pragma once
// The names of the components one component owns, looked up without regard to letter case.
// A record may create tens of thousands of named components, each checked against all the
// others, so the index is one flat table of (hash, component) slots probed linearly: a
// look-up allocates nothing and touches one or two cache lines instead of a chain of nodes.
// The hash is keyed per table, so that no record can be crafted whose names all meet on
// the same slots.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace trovelin {

class Component;

class NameIndex {
public:
    // The component indexed under `name` (letter case ignored), or null.
    Component* find(std::string_view name) const;
    // Indexes `component` under its name, unless its name is empty or another component
    // holds it already. Returns the component now indexed under the name (null for an empty
    // name), so that a caller learns of a clash from the same probe.
    Component* insert(Component* component);
    // Drops `component` if it is the one indexed under its name.
    void erase(Component* component);
    void clear();
    std::size_t size() const { return count_; }

private:
    struct Slot {
        std::uint64_t hash = 0;
        Component* component = nullptr;  // null: free
    };

    std::uint64_t hashOf(std::string_view name) const;
    // The slot holding `name`, or the free slot where its probe run ends.
    std::size_t slotOf(std::string_view name, std::uint64_t hash) const;
    void grow();

    std::vector<Slot> slots_;  // a power of two in size, at most half full
    std::size_t count_ = 0;
    std::uint64_t key0_ = 0;
    std::uint64_t key1_ = 0;
};

}  // namespace trovelin
