#pragma once
// The desktop's file manager over the session bus (org.freedesktop.FileManager1). A call waits at
// most its timeout, repainting windows but letting no user input in meanwhile, and fails when no
// file manager answers: no bus, no such service, an error, or the timeout.

#include <chrono>
#include <string>
#include <vector>

#include <QString>

namespace trovelin {

// "file://" and the path's bytes, percent-encoded except for unreserved characters and "/".
QString fileUri(const std::string& path);

// `method` is "ShowItems", "ShowFolders" or "ShowItemProperties".
bool callFileManager(const QString& method, const std::vector<std::string>& paths, std::chrono::milliseconds timeout);

}  // namespace trovelin
