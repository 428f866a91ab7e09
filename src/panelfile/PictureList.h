#pragma once
// The picture list: the pictures harvested from panel files, in harvest order, at most 512.
// There is one for the whole process; the loader fills it and the grid reads it. Its pictures,
// and those decoded while a load runs, are charged to the list's pixel budget.

#include <array>
#include <memory>

#include "streaming/Bitmap.h"
#include "streaming/PixelBudget.h"

namespace trovelin {

inline constexpr int pictureListCapacity = 512;

// The default pixel budget: the smaller of 4 GiB and half of the physical memory.
std::uint64_t defaultPixelBudgetBytes();

class PictureList {
public:
    explicit PictureList(std::uint64_t pixelBudgetBytes = defaultPixelBudgetBytes());
    // A list charged to another list's budget: a folder load's own list on a worker thread, whose
    // pictures end up in the window's list.
    explicit PictureList(PixelBudget sharedBudget);
    PictureList(const PictureList&) = delete;
    PictureList& operator=(const PictureList&) = delete;

    PixelBudget& pixelBudget() { return pixelBudget_; }

    int count() const { return count_; }
    bool full() const { return count_ >= pictureListCapacity; }
    // Slot `index` for 0 <= index < count().
    const TBitmap& at(int index) const { return *slots_[static_cast<std::size_t>(index)]; }

    // Frees every picture.
    void clear();
    // Appends a copy of `source` (sharing its pixels); does nothing when the list is full.
    void append(const TBitmap& source);

private:
    PixelBudget pixelBudget_;
    std::array<std::unique_ptr<TBitmap>, pictureListCapacity> slots_;
    int count_ = 0;
};

// The process-wide list.
PictureList& pictureList();

}  // namespace trovelin
