#include "panelfile/PictureList.h"

namespace trovelin {

void PictureList::clear()
{
    for (int i = 0; i < count_; ++i) slots_[static_cast<std::size_t>(i)].reset();
    count_ = 0;
}

void PictureList::append(const TBitmap& source)
{
    if (full()) return;
    slots_[static_cast<std::size_t>(count_)] = copyIntoNewBitmap(source);
    ++count_;
}

PictureList& pictureList()
{
    static PictureList list;
    return list;
}

}  // namespace trovelin
