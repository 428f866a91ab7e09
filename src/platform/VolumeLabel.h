#pragma once
// Volume labels as udev publishes them: one symbolic link per labelled volume in
// /dev/disk/by-label, named after the label and pointing at the device.

#include <string>

namespace trovelin {

// The label of the volume on `device` (after resolving links on both sides), or "" when no link
// in `labelFolder` leads to it. udev writes unsafe characters as "\xHH"; they are decoded.
std::string volumeLabelOf(const std::string& device, const std::string& labelFolder = "/dev/disk/by-label");

}  // namespace trovelin
