#include "cli/ExtractManifest.h"

#include <new>

#include "cli/PictureDigest.h"
#include "framework/PngWriter.h"
#include "panelfile/Json.h"
#include "panelfile/PictureList.h"
#include "platform/FileBatch.h"
#include "streaming/Errors.h"

namespace trovelin::cli {

ManifestPicture manifestPictureOf(const PictureList& pictures, int index)
{
    const TBitmap& bitmap = pictures.at(index);
    const PictureOrigin& origin = pictures.origin(index);
    return {index,
            bitmap.width(),
            bitmap.height(),
            bitmap.empty() ? 0 : bitmap.image()->bitsPerPixel(),
            origin.recordName,
            origin.recordClass,
            origin.property,
            pictureDigest(bitmap.image()),
            {}};
}

void writePicturePng(FileBatch& batch, PngEncoder& encoder, const DibImage& image, const std::string& target)
{
    std::vector<std::uint8_t> png;
    try {
        png = encoder.encode(image);
    } catch (const std::bad_alloc&) {
        throw Exception("Cannot write " + target + ": " + messages::outOfMemory);
    }
    batch.writeOverName(target, png);
}

std::string manifestEventLine(const LoadEvent& event)
{
    return "{" + jsonPathField("file", event.file) + ",\"kind\":\"" + event.kind + "\",\"text\":" +
           jsonString(event.text) + "}\n";
}

std::string manifestPictureLine(const std::string& file, const ManifestPicture& picture)
{
    return "{" + jsonPathField("file", file) + ",\"index\":" + std::to_string(picture.index) +
           ",\"width\":" + std::to_string(picture.width) + ",\"height\":" + std::to_string(picture.height) +
           ",\"bpp\":" + std::to_string(picture.bitsPerPixel) + ",\"record\":" + jsonString(picture.record) +
           ",\"class\":" + jsonString(picture.recordClass) + ",\"property\":" + jsonString(picture.property) + "," +
           (picture.png.empty() ? std::string("\"png\":null") : jsonPathField("png", picture.png)) +
           ",\"sha256\":\"" + picture.digest + "\"}\n";
}

}  // namespace trovelin::cli
