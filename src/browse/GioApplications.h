#pragma once
// Content types and applications as the desktop registers them, read through GIO: the desktop
// entries under the XDG data folders with their MIME caches, and the defaults of mimeapps.list.
// Applications start with argument lists, never through a shell.

#include <optional>
#include <string>
#include <vector>

#include "browse/DesktopServices.h"

namespace trovelin::gio {

std::string contentType(const std::string& path);
std::optional<DesktopApplication> defaultApplication(const std::string& contentType);
std::vector<DesktopApplication> applications(const std::string& contentType);
bool launch(const DesktopApplication& application, const std::vector<std::string>& paths);

}  // namespace trovelin::gio
