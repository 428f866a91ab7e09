#pragma once
// A worker's share of an extraction spread over a cluster: the panel files it is handed, loaded
// one after another, their pictures written into the output folder every worker shares, and
// what the manifest needs of each. The client walks the trees, names the folders, keeps the
// first copy of a content with --unique and writes the manifest in file order.

#include <cstdint>
#include <string>
#include <vector>

#include "cli/ExtractManifest.h"

namespace trovelin {

struct ClusterPicture {
    cli::ManifestPicture manifest;
    bool written = false;  // its file is in the output folder
};

struct ClusterFile {
    std::vector<ClusterPicture> pictures;
    std::vector<LoadEvent> events;
    bool failed = false;
};

// `path` as the walk found it; its pictures go to `outputFolder` (relative, '/'-separated)
// below `outputRoot`, which exists.
ClusterFile extractForCluster(const std::string& path, const std::string& outputFolder, const std::string& outputRoot,
                              std::uint64_t pixelBudgetBytes);

}  // namespace trovelin
