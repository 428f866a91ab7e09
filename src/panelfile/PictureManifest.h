#pragma once
// The picture list described in JSON: each picture's index, size, depth and where it came from,
// then what the loads reported. `trovelin-cli harvest --json` prints it; an export of the list
// saves it as pictures.json beside the numbered PNG files.

#include <iosfwd>
#include <string>
#include <vector>

#include "panelfile/PictureFiles.h"

namespace trovelin {

class PictureList;

// What a load, or writing a picture file, reported about `file`.
struct LoadEvent {
    std::string file;
    std::string kind;  // "status", "message" or "error"
    std::string text;
};

inline constexpr const char* pictureManifestName = "pictures.json";

void writePictureManifest(const PictureList& pictures, const std::vector<LoadEvent>& events, std::ostream& out);

// Writes the non-empty pictures of the list as NNN.png into `folder`, creating it if needed,
// and the manifest of the list and `events` as pictures.json, each file replaced whole. The
// manifest lists the pictures that could not be written as errors. Returns the failures, the
// manifest's last.
std::vector<PictureFileFailure> exportPictures(const PictureList& pictures, const std::string& folder,
                                               std::vector<LoadEvent> events = {});

}  // namespace trovelin
