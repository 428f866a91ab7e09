#pragma once
// Opening a file for reading without sharing it. The original platform refuses such an open
// while another program has the file open; here the file is locked exclusively (flock) for as
// long as the stream lives, and an open fails while another program holds that lock. This
// program's own opens of the file share it.

#include <memory>
#include <string>

#include "streaming/Stream.h"

namespace trovelin {

// The open file, locked until the stream is destroyed; a missing, unreadable, locked or
// non-regular file fails with "Cannot open file %s". `path` is this system's; a drive path goes
// through the file system's drive map first (FileSystem::openUnshared). Messages and the stream
// name the file `shownName`, by default the path itself.
std::unique_ptr<FileStream> openUnshared(const std::string& path, const std::string& shownName);
std::unique_ptr<FileStream> openUnshared(const std::string& path);

}  // namespace trovelin
