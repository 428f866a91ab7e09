#pragma once
// Decoded bitmaps as Qt images.

#include <memory>

#include <QImage>

#include "streaming/Bitmap.h"
#include "streaming/DibImage.h"

namespace trovelin {

// A Qt image of the same pixels. Where Qt has the stored layout (1 and 8 bits with the colour
// table, 16 bits 5-5-5 or 5-6-5, 24 bits, 32 bits with the fixed layout) it shares the
// bitmap's pixel memory and keeps the image alive; other layouts are converted to RGB32.
// Colour indices past the colour table are black, as DibImage::pixel gives them.
// Shared 32-bit images hold the bitmap's unused high bytes: draw them through
// toDrawableImage, which makes them opaque unless the image already is. Null for a null or
// empty image.
QImage toQImage(const std::shared_ptr<const DibImage>& image);
QImage toQImage(const TBitmap& bitmap);

// The bitmap as a canvas draws it: opaque, except for the pixels of its transparent colour
// when it is transparent. Opaque bitmaps whose layout Qt has are not copied.
QImage toDrawableImage(const TBitmap& bitmap);
// The same of `part` of the bitmap alone, in its pixel coordinates; null where nothing of it lies
// within the bitmap. A drawing that shows a little of a large bitmap converts only that.
QImage toDrawableImage(const TBitmap& bitmap, const QRect& part);

}  // namespace trovelin
