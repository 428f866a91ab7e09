#include "streaming/Picture.h"

#include "streaming/ClassInfo.h"
#include "streaming/Stream.h"

namespace trovelin {

const ClassInfo& TPicture::staticClassInfo()
{
    static const ClassInfo info{"TPicture", nullptr, {}};
    return info;
}

void TPicture::defineProperties(Filer& filer)
{
    filer.defineBinaryProperty("Data", [this](Stream& data) { payload_ = data.readToEnd(); });
}

void TPicture::assign(const TPicture* other)
{
    if (other == this) return;
    payload_ = other ? other->payload_ : std::vector<std::uint8_t>{};
}

}  // namespace trovelin
