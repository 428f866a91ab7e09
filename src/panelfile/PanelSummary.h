#pragma once
// What a panel file holds, told without showing it: its header and the sizes of the pictures a
// load would harvest, from a load of its own that leaves the process's picture list alone.

#include <optional>
#include <string>
#include <vector>

#include "panelfile/LoaderClasses.h"
#include "panelfile/PanelHeader.h"

namespace trovelin {

struct PictureSize {
    int width;
    int height;

    bool operator==(const PictureSize&) const = default;
};

struct PanelSummary {
    PanelHeader header;
    std::vector<PictureSize> pictures;  // in harvest order
    // The first thing the load reported or threw ("Format ERROR!!!", "Stream read error"); the
    // pictures are those harvested before it.
    std::string problem;
};

// Nullopt for a file that is not a panel file (or cannot be opened).
std::optional<PanelSummary> summarizePanelFile(const std::string& path, LoaderClassTable classes);

}  // namespace trovelin
