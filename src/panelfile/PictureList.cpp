#include "panelfile/PictureList.h"

#include <algorithm>

#include "platform/PhysicalMemory.h"

namespace trovelin {

std::uint64_t defaultPixelBudgetBytes()
{
    constexpr std::uint64_t ceiling = std::uint64_t{4} << 30;
    const std::uint64_t physical = physicalMemoryBytes();
    return physical == 0 ? ceiling : std::min(ceiling, physical / 2);
}

PictureList::PictureList(std::uint64_t pixelBudgetBytes) : pixelBudget_(pixelBudgetBytes) {}

PictureList::PictureList(PixelBudget sharedBudget) : pixelBudget_(std::move(sharedBudget)) {}

void PictureList::clear()
{
    for (int i = 0; i < count_; ++i) {
        slots_[static_cast<std::size_t>(i)].reset();
        origins_[static_cast<std::size_t>(i)] = {};
    }
    count_ = 0;
    refused_ = 0;
}

void PictureList::append(const TBitmap& source, PictureOrigin origin)
{
    if (full()) {
        ++refused_;
        return;
    }
    slots_[static_cast<std::size_t>(count_)] = copyIntoNewBitmap(source);
    origins_[static_cast<std::size_t>(count_)] = std::move(origin);
    ++count_;
}

PictureList& pictureList()
{
    static PictureList list;
    return list;
}

}  // namespace trovelin
