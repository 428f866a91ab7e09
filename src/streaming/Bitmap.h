#pragma once
// A bitmap: a decoded image shared between copies (a copy costs no pixel storage), plus the
// transparency settings that drawing uses. Changing a bitmap's pixels always installs a new
// image, so a copy never sees the change.

#include <cstdint>
#include <memory>

#include "streaming/DibImage.h"
#include "streaming/Graphic.h"

namespace trovelin {

enum class TransparentMode { tmAuto, tmFixed };

// The transparent colour that means: the colour of the bottom-left pixel.
inline constexpr std::uint32_t clDefaultTransparent = 0x20000000;

class TBitmap : public TGraphic {
public:
    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }
    void defineProperties(Filer& filer) override;

    // Bitmap data: a 32-bit byte count S, then S bytes of BMP file; S = 0 empties the bitmap.
    void readData(Stream& stream) override;
    bool empty() const override { return !image_; }
    int width() const override { return image_ ? image_->width() : 0; }
    int height() const override { return image_ ? image_->height() : 0; }
    std::unique_ptr<TGraphic> clone() const override;

    const DibImage* image() const { return image_.get(); }
    const std::shared_ptr<const DibImage>& sharedImage() const { return image_; }
    // Installs a new image (null empties the bitmap) and signals the change.
    void setImage(std::shared_ptr<const DibImage> image);

    bool transparent() const { return transparent_; }
    void setTransparent(bool transparent);
    std::uint32_t transparentColor() const { return transparentColor_; }
    // Fixes the transparent colour; clDefaultTransparent returns to the automatic mode.
    void setTransparentColor(std::uint32_t color);
    TransparentMode transparentMode() const { return transparentMode_; }
    // The colour drawn as transparent: the fixed colour, or the bottom-left pixel's.
    std::uint32_t effectiveTransparentColor() const;

    // Takes over image and transparency settings of `other`; null empties this bitmap.
    void assign(const TBitmap* other);

private:
    std::shared_ptr<const DibImage> image_;
    bool transparent_ = false;
    std::uint32_t transparentColor_ = clDefaultTransparent;
    TransparentMode transparentMode_ = TransparentMode::tmAuto;
};

// The harvest copy: a new bitmap equal to `source`, independent of its lifetime.
std::unique_ptr<TBitmap> copyIntoNewBitmap(const TBitmap& source);

}  // namespace trovelin
