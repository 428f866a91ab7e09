#pragma once
// The lines of extract's manifest.jsonl: one JSON object per picture and per event, so that a
// run spread over a cluster writes the same lines as `trovelin-cli extract`.

#include <string>

#include "panelfile/PictureManifest.h"

namespace trovelin {
class DibImage;
class FileBatch;
class PictureList;
class PngEncoder;
}  // namespace trovelin

namespace trovelin::cli {

struct ManifestPicture {
    int index = 0;
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    std::string record;
    std::string recordClass;
    std::string property;
    std::string digest;
    std::string png;  // relative to the output folder; empty when no file names it
};

// Picture `index` of the list as its line describes it, with no file named yet.
ManifestPicture manifestPictureOf(const PictureList& pictures, int index);

// Encodes `image` as PNG into `batch` under `target`; whatever has that name (a link out of the
// output folder, a named pipe nobody reads) is replaced, never followed or written into. Fails
// with "Cannot write TARGET: <reason>".
void writePicturePng(FileBatch& batch, PngEncoder& encoder, const DibImage& image, const std::string& target);

std::string manifestPictureLine(const std::string& file, const ManifestPicture& picture);
std::string manifestEventLine(const LoadEvent& event);

}  // namespace trovelin::cli
