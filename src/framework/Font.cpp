#include "framework/Font.h"

#include <cstdlib>

#include "streaming/ClassInfo.h"

namespace trovelin {

namespace {
constexpr std::int64_t pixelsPerInch = 96;

// a * b / c rounded half away from zero, as screen metrics are computed.
std::int32_t mulDiv(std::int64_t a, std::int64_t b, std::int64_t c)
{
    std::int64_t product = a * b;
    std::int64_t quotient = (std::llabs(product) + c / 2) / c;
    return static_cast<std::int32_t>(product < 0 ? -quotient : quotient);
}
}  // namespace

const ClassInfo& TFont::staticClassInfo()
{
    static const EnumType pitchNames{"fpDefault", "fpVariable", "fpFixed"};
    static const EnumType styleNames{"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
    static const ClassInfo info{
        "TFont",
        nullptr,
        {
            published::integer("Charset", &TFont::charset, &TFont::setCharset, std::nullopt, &charsetConstants()),
            published::integer("Color", &TFont::color, &TFont::setColor, std::nullopt, &colorConstants()),
            published::integer("Height", &TFont::height, &TFont::setHeight, std::nullopt),
            published::text("Name", &TFont::name, &TFont::setName, std::nullopt),
            published::enumeration("Pitch", pitchNames, &TFont::pitch, &TFont::setPitch,
                                   std::optional(TFontPitch::fpDefault)),
            published::integer("Size", &TFont::size, &TFont::setSize, std::nullopt),
            published::set("Style", styleNames, &TFont::style, &TFont::setStyle, std::nullopt),
        }};
    return info;
}

void TFont::assign(const TFont& other)
{
    bool changed = charset_ != other.charset_ || color_ != other.color_ || height_ != other.height_ ||
                   name_ != other.name_ || pitch_ != other.pitch_ || style_ != other.style_;
    charset_ = other.charset_;
    color_ = other.color_;
    height_ = other.height_;
    name_ = other.name_;
    pitch_ = other.pitch_;
    style_ = other.style_;
    if (changed && onChange_) onChange_();
}

std::int32_t TFont::size() const
{
    return -mulDiv(height_, 72, pixelsPerInch);
}

void TFont::setSize(std::int32_t points)
{
    setHeight(-mulDiv(points, pixelsPerInch, 72));
}

}  // namespace trovelin
