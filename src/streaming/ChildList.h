#pragma once
// The ordered children of one parent (controls of a windowed control, entries of a menu
// item). A record may hold tens of thousands of children, each asking for its own place
// among its siblings right after it was appended; moving each one at once would cost the
// square of their number. So an appended child's place is only noted, and removals only
// leave a hole; the order settles, in O(n log n), the next time somebody looks at it.
// The settled order is exactly the one that moving each child at once would give.

#include <algorithm>
#include <cstddef>
#include <limits>
#include <unordered_map>
#include <vector>

namespace trovelin {

template <class T> class ChildList {
public:
    const std::vector<T*>& items() const
    {
        settle();
        return items_;
    }
    bool empty() const { return index_.empty(); }
    bool contains(T* item) const { return index_.contains(item); }

    // Appends an item that is not in the list yet.
    void append(T* item)
    {
        index_.emplace(item, items_.size());
        items_.push_back(item);
        pendingPlaces_.push_back(stayLast);
    }

    // An absent item stays absent.
    void remove(T* item)
    {
        if (!pendingPlaces_.empty()) settle();
        auto found = index_.find(item);
        if (found == index_.end()) return;
        items_[found->second] = nullptr;
        index_.erase(found);
        ++holes_;
    }

    // Moves `item` to place `order` among the others (clamped to the list); an absent item
    // stays absent.
    void moveToPlace(T* item, int order)
    {
        if (!pendingPlaces_.empty() && items_.back() == item && pendingPlaces_.back() == stayLast) {
            pendingPlaces_.back() = std::max(order, 0);
            return;
        }
        if (!contains(item)) return;
        settle();
        auto from = static_cast<std::ptrdiff_t>(index_.at(item));
        auto to = std::clamp<std::ptrdiff_t>(order, 0, static_cast<std::ptrdiff_t>(items_.size()) - 1);
        if (from < to)
            std::rotate(items_.begin() + from, items_.begin() + from + 1, items_.begin() + to + 1);
        else
            std::rotate(items_.begin() + to, items_.begin() + from, items_.begin() + from + 1);
        for (auto i = std::min(from, to); i <= std::max(from, to); ++i) index_[items_[i]] = i;
    }

private:
    static constexpr int stayLast = std::numeric_limits<int>::max();

    // The items appended since the last settle are the list's tail, in the order they came;
    // each went in at its noted place among the items before it. Placing them from the last
    // to the first, each takes the free slot of its rank among the slots the later ones left.
    void settle() const
    {
        if (pendingPlaces_.empty() && holes_ == 0) return;
        const std::size_t tailStart = items_.size() - pendingPlaces_.size();
        std::vector<T*> settled;
        settled.reserve(items_.size() - holes_);
        for (std::size_t i = 0; i < tailStart; ++i)
            if (items_[i]) settled.push_back(items_[i]);
        const std::size_t earlier = settled.size();
        const std::size_t total = earlier + pendingPlaces_.size();
        settled.resize(total, nullptr);

        FreeSlots free(total);
        std::vector<T*> placed(total, nullptr);
        for (std::size_t i = pendingPlaces_.size(); i-- > 0;) {
            const std::size_t sizeBefore = earlier + i;
            const auto wanted = static_cast<std::size_t>(pendingPlaces_[i]);
            placed[free.takeNth(std::min(wanted, sizeBefore))] = items_[tailStart + i];
        }
        std::size_t nextEarlier = 0;
        for (std::size_t slot = 0; slot < total; ++slot)
            if (!placed[slot]) placed[slot] = settled[nextEarlier++];

        items_ = std::move(placed);
        pendingPlaces_.clear();
        holes_ = 0;
        for (std::size_t i = 0; i < items_.size(); ++i) index_[items_[i]] = i;
    }

    // Free slots 0..n-1 in a Fenwick tree: take the n-th free one in O(log n).
    class FreeSlots {
    public:
        explicit FreeSlots(std::size_t count) : tree_(count + 1, 0)
        {
            for (std::size_t i = 1; i <= count; ++i) {
                tree_[i] += 1;
                if (std::size_t up = i + (i & (~i + 1)); up <= count) tree_[up] += tree_[i];
            }
            while (highBit_ * 2 <= count) highBit_ *= 2;
        }
        std::size_t takeNth(std::size_t rank)
        {
            std::size_t position = 0;
            for (std::size_t step = highBit_; step > 0; step /= 2) {
                if (position + step < tree_.size() && tree_[position + step] <= rank) {
                    position += step;
                    rank -= tree_[position];
                }
            }
            for (std::size_t i = position + 1; i < tree_.size(); i += i & (~i + 1)) --tree_[i];
            return position;
        }

    private:
        std::vector<std::size_t> tree_;
        std::size_t highBit_ = 1;
    };

    mutable std::vector<T*> items_;  // null marks a removed item until the next settle
    mutable std::unordered_map<T*, std::size_t> index_;
    mutable std::vector<int> pendingPlaces_;  // one per item of the unsettled tail
    mutable std::size_t holes_ = 0;
};

}  // namespace trovelin
