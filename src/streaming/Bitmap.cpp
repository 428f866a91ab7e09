#include "streaming/Bitmap.h"

#include "streaming/BitmapDecoder.h"
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
    filer.defineBinaryProperty("Data", [this](Stream& data) { readData(data); });
}

void TBitmap::readData(Stream& stream)
{
    setImage(decodeBitmapData(stream));
}

std::unique_ptr<TGraphic> TBitmap::clone() const
{
    return copyIntoNewBitmap(*this);
}

void TBitmap::setImage(std::shared_ptr<const DibImage> image)
{
    image_ = std::move(image);
    changed();
}

void TBitmap::setTransparent(bool transparent)
{
    if (transparent_ == transparent) return;
    transparent_ = transparent;
    changed();
}

void TBitmap::setTransparentColor(std::uint32_t color)
{
    transparentColor_ = color;
    transparentMode_ = color == clDefaultTransparent ? TransparentMode::tmAuto : TransparentMode::tmFixed;
    changed();
}

std::uint32_t TBitmap::effectiveTransparentColor() const
{
    if (transparentMode_ == TransparentMode::tmFixed) return transparentColor_;
    return image_ ? image_->pixel(0, image_->height() - 1) : 0;
}

void TBitmap::assign(const TBitmap* other)
{
    if (other == this) return;
    if (other) {
        image_ = other->image_;
        transparent_ = other->transparent_;
        transparentColor_ = other->transparentColor_;
        transparentMode_ = other->transparentMode_;
    } else {
        image_.reset();
    }
    changed();
}

std::unique_ptr<TBitmap> copyIntoNewBitmap(const TBitmap& source)
{
    auto copy = std::make_unique<TBitmap>();
    copy->assign(&source);
    return copy;
}

}  // namespace trovelin
