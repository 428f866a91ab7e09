#include "streaming/Bitmap.h"

#include "streaming/ClassInfo.h"
#include "streaming/Stream.h"

namespace trovelin {

const ClassInfo& TBitmap::staticClassInfo()
{
    static const ClassInfo info{"TBitmap", nullptr, {}};
    return info;
}

void TBitmap::defineProperties(Filer& filer)
{
    filer.defineBinaryProperty("Data", [this](Stream& data) { payload_ = data.readToEnd(); });
}

void TBitmap::assign(const TBitmap* other)
{
    if (other == this) return;
    payload_ = other ? other->payload_ : std::vector<std::uint8_t>{};
}

}  // namespace trovelin
