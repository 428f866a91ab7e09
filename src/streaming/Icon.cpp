#include "streaming/Icon.h"

#include "streaming/ClassInfo.h"
#include "streaming/Errors.h"
#include "streaming/Stream.h"

namespace trovelin {

namespace {
constexpr std::size_t directoryHeaderSize = 6;
constexpr unsigned iconType = 1;
}  // namespace

const ClassInfo& TIcon::staticClassInfo()
{
    static const ClassInfo info{"TIcon", nullptr, {}};
    return info;
}

void TIcon::readData(Stream& stream)
{
    std::vector<std::uint8_t> bytes = stream.readToEnd();
    if (bytes.size() < directoryHeaderSize) throw EReadError(messages::streamReadError);
    const unsigned type = bytes[2] | (bytes[3] << 8);
    // Type 0 is the platform's stock application icon and needs no images; 2 would be a cursor.
    if (type > iconType) throw EInvalidGraphic(messages::iconImageIsNotValid);
    bytes_ = std::move(bytes);
    changed();
}

std::unique_ptr<TGraphic> TIcon::clone() const
{
    auto copy = std::make_unique<TIcon>();
    copy->bytes_ = bytes_;
    return copy;
}

}  // namespace trovelin
