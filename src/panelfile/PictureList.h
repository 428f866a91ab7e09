#pragma once
// The picture list: the pictures harvested from panel files, in harvest order, at most 512.
// There is one for the whole process; the loader fills it and the grid reads it. Its pictures,
// and those decoded while a load runs, are charged to the list's pixel budget. Beside each
// picture the list keeps where it came from.

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "streaming/Bitmap.h"
#include "streaming/PixelBudget.h"

namespace trovelin {

inline constexpr int pictureListCapacity = 512;

// The default pixel budget: the smaller of 4 GiB and half of the physical memory.
std::uint64_t defaultPixelBudgetBytes();

// The record a picture was read from. The pictures of one file share its name.
struct PictureOrigin {
    std::shared_ptr<const std::string> file;
    std::string recordClass;
    std::string recordName;
    const char* property = "";  // "Picture" of the background, "Glyph" of a button

    std::string_view fileName() const { return file ? std::string_view(*file) : std::string_view(); }
};

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
    // The pictures offered to the full list since it was last cleared, which it did not keep.
    int refused() const { return refused_; }
    // Slot `index` for 0 <= index < count().
    const TBitmap& at(int index) const { return *slots_[static_cast<std::size_t>(index)]; }
    const PictureOrigin& origin(int index) const { return origins_[static_cast<std::size_t>(index)]; }

    // Frees every picture.
    void clear();
    // Appends a copy of `source` (sharing its pixels); only counts it when the list is full.
    void append(const TBitmap& source, PictureOrigin origin = {});

private:
    PixelBudget pixelBudget_;
    std::array<std::unique_ptr<TBitmap>, pictureListCapacity> slots_;
    std::array<PictureOrigin, pictureListCapacity> origins_;
    int count_ = 0;
    int refused_ = 0;
};

// The process-wide list.
PictureList& pictureList();

}  // namespace trovelin
