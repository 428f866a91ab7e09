#pragma once
// Volumes on folders of a test's own, from a mount table the test changes between listings.

#include <filesystem>
#include <string>
#include <vector>

#include "platform/DriveMap.h"

namespace trovelin::testing {

// Each name in `mounted` is a volume on the folder `root`/name (device "/dev/vd" + name). The
// table is read again whenever the drives are listed, so `mounted`, which must outlive the
// source, may change in between.
MountSource volumesOn(const std::filesystem::path& root, const std::vector<std::string>& mounted);

}  // namespace trovelin::testing
