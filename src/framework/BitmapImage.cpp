#include "framework/BitmapImage.h"

#include <optional>

#include "framework/SystemColors.h"

namespace trovelin {

namespace {

constexpr ColorMasks rgb555Masks{0x7C00, 0x03E0, 0x001F};
constexpr ColorMasks rgb565Masks{0xF800, 0x07E0, 0x001F};
constexpr ColorMasks rgb888Masks{0xFF0000, 0x00FF00, 0x0000FF};

// The format that reads the stored pixels as they are, if Qt has one.
std::optional<QImage::Format> sharedFormat(const DibImage& image)
{
    switch (image.bitsPerPixel()) {
    case 1: return QImage::Format_Mono;
    case 8: return QImage::Format_Indexed8;
    case 16:
        if (image.masks == ColorMasks{} || image.masks == rgb555Masks) return QImage::Format_RGB555;
        if (image.masks == rgb565Masks) return QImage::Format_RGB16;
        return std::nullopt;
    case 24: return QImage::Format_BGR888;
    case 32:
        if (image.masks == ColorMasks{} || image.masks == rgb888Masks) return QImage::Format_RGB32;
        return std::nullopt;
    default: return std::nullopt;
    }
}

// A full table for every index the depth can hold, padded with black.
QList<QRgb> colorTableOf(const DibImage& image)
{
    QList<QRgb> table(qsizetype{1} << image.bitsPerPixel(), qRgb(0, 0, 0));
    for (qsizetype i = 0; i < table.size() && i < static_cast<qsizetype>(image.colorTable.size()); ++i) {
        const RgbQuad& entry = image.colorTable[static_cast<std::size_t>(i)];
        table[i] = qRgb(entry.red, entry.green, entry.blue);
    }
    return table;
}

QRgb toQRgb(std::uint32_t colorValue)
{
    return qRgb(colorValue & 0xFF, (colorValue >> 8) & 0xFF, (colorValue >> 16) & 0xFF);
}

// The pixels of `part` of the image, which lies within it, as RGB32.
QImage convertedImage(const DibImage& image, const QRect& part)
{
    QImage result(part.size(), QImage::Format_RGB32);
    for (int y = 0; y < part.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < part.width(); ++x) row[x] = toQRgb(image.pixel(part.left() + x, part.top() + y));
    }
    return result;
}

QImage convertedImage(const DibImage& image)
{
    return convertedImage(image, QRect(0, 0, image.width(), image.height()));
}

void releaseSharedImage(void* holder)
{
    delete static_cast<std::shared_ptr<const DibImage>*>(holder);
}

}  // namespace

QImage toQImage(const std::shared_ptr<const DibImage>& image)
{
    if (!image) return {};
    const std::optional<QImage::Format> format = sharedFormat(*image);
    if (!format) return convertedImage(*image);
    QImage result(image->bits(), image->width(), image->height(), static_cast<qsizetype>(image->stride()), *format,
                  releaseSharedImage, new std::shared_ptr<const DibImage>(image));
    if (image->bitsPerPixel() <= 8) result.setColorTable(colorTableOf(*image));
    return result;
}

QImage toQImage(const TBitmap& bitmap)
{
    return toQImage(bitmap.sharedImage());
}

namespace {

// `image`, pixels of `bitmap`, as a canvas draws them.
QImage drawable(const TBitmap& bitmap, QImage image)
{
    if (image.isNull()) return image;
    // Qt reads the high byte of RGB32 pixels as alpha on some drawing paths.
    const bool highBytesUnsafe = image.format() == QImage::Format_RGB32 && !bitmap.sharedImage()->highBytesOpaque;
    const bool transparent = bitmap.transparent();
    if (!highBytesUnsafe && !transparent) return image;

    QImage result = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb transparentColor =
        toQRgb(colorToRgb(static_cast<TColor>(bitmap.effectiveTransparentColor()))) & RGB_MASK;
    for (int y = 0; y < result.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            const QRgb color = row[x] & RGB_MASK;
            row[x] = transparent && color == transparentColor ? 0 : color | ~RGB_MASK;
        }
    }
    return result;
}

}  // namespace

QImage toDrawableImage(const TBitmap& bitmap)
{
    return drawable(bitmap, toQImage(bitmap));
}

QImage toDrawableImage(const TBitmap& bitmap, const QRect& part)
{
    const std::shared_ptr<const DibImage>& image = bitmap.sharedImage();
    if (!image) return {};
    const QRect within = part & QRect(0, 0, image->width(), image->height());
    if (within.isEmpty()) return {};
    // A layout Qt lacks is converted for the part alone.
    if (!sharedFormat(*image)) return drawable(bitmap, convertedImage(*image, within));
    return drawable(bitmap, toQImage(image).copy(within));
}

}  // namespace trovelin
