#include "cli/ExtractManifest.h"

#include "panelfile/Json.h"

namespace trovelin::cli {

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
