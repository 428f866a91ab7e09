#include "streaming/PictureSummary.h"

#include "streaming/Bitmap.h"
#include "streaming/Errors.h"
#include "streaming/Metafile.h"
#include "streaming/Picture.h"
#include "streaming/Stream.h"

namespace trovelin {

namespace {

std::string bitmapText(const TBitmap& bitmap)
{
    if (bitmap.empty()) return "empty";
    return std::to_string(bitmap.width()) + " x " + std::to_string(bitmap.height()) + ", " +
           std::to_string(bitmap.image()->bitsPerPixel()) + " bpp";
}

}  // namespace

std::string picturePayloadSummary(std::span<const std::uint8_t> payload, PixelBudget* budget)
{
    TPicture picture;
    try {
        ByteViewStream stream(payload);
        stream.setPixelBudget(budget);
        picture.readData(stream);
    } catch (const Exception& error) {
        return error.message();
    }
    const TGraphic* graphic = picture.graphic();
    if (!graphic) return "no picture";
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(graphic)) return "TBitmap " + bitmapText(*bitmap);
    if (const auto* metafile = dynamic_cast<const TMetafile*>(graphic))
        return std::string("TMetafile (") + (metafile->enhanced() ? "enhanced" : "placeable") + ") " +
               std::to_string(metafile->mmWidth()) + " x " + std::to_string(metafile->mmHeight()) +
               " hundredths of a mm";
    return std::string(picture.graphicClassName());
}

std::string bitmapPayloadSummary(std::span<const std::uint8_t> payload, PixelBudget* budget)
{
    TBitmap bitmap;
    try {
        ByteViewStream stream(payload);
        stream.setPixelBudget(budget);
        bitmap.readData(stream);
    } catch (const Exception& error) {
        return error.message();
    }
    return bitmap.empty() ? "empty bitmap" : "bitmap " + bitmapText(bitmap);
}

}  // namespace trovelin
