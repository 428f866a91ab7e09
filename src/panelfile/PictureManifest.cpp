#include "panelfile/PictureManifest.h"

#include <filesystem>
#include <ostream>
#include <sstream>

#include "panelfile/Json.h"
#include "panelfile/PictureList.h"
#include "platform/ReplacingFile.h"
#include "streaming/Errors.h"

namespace trovelin {

void writePictureManifest(const PictureList& pictures, const std::vector<LoadEvent>& events, std::ostream& out)
{
    out << "{\"pictures\":[";
    for (int i = 0; i < pictures.count(); ++i) {
        const TBitmap& picture = pictures.at(i);
        const PictureOrigin& origin = pictures.origin(i);
        out << (i ? "," : "") << "{\"index\":" << i << ",\"width\":" << picture.width()
            << ",\"height\":" << picture.height() << ",\"bpp\":" << (picture.empty() ? 0 : picture.image()->bitsPerPixel())
            << "," << jsonPathField("file", origin.fileName()) << ",\"record\":" << jsonString(origin.recordName)
            << ",\"class\":" << jsonString(origin.recordClass) << ",\"property\":" << jsonString(origin.property)
            << "}";
    }
    out << "],\"events\":[";
    for (std::size_t i = 0; i < events.size(); ++i) {
        out << (i ? "," : "") << "{" << jsonPathField("file", events[i].file) << ",\"kind\":\"" << events[i].kind
            << "\",\"text\":" << jsonString(events[i].text) << "}";
    }
    out << "]}\n";
}

std::vector<PictureFileFailure> exportPictures(const PictureList& pictures, const std::string& folder,
                                               std::vector<LoadEvent> events)
{
    PictureFileWriter pictureFiles(folder);
    pictureFiles.addNewPictures(pictures);
    std::vector<PictureFileFailure> failures = pictureFiles.finish([](int, int) {});
    for (const PictureFileFailure& failure : failures) events.push_back({failure.path, "error", failure.text});

    std::ostringstream manifest;
    writePictureManifest(pictures, events, manifest);
    const std::string text = std::move(manifest).str();
    const std::string path = (std::filesystem::path(folder) / pictureManifestName).string();
    try {
        writeFileOverName(path, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    } catch (const Exception& error) {
        failures.push_back({path, error.message()});
    }
    return failures;
}

}  // namespace trovelin
