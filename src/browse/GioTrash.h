#pragma once
// The desktop's trash through GIO, as the desktop's file managers use it: an item moves into the
// trash of its volume (the home trash, or a volume's ".Trash-UID") beside a record of where it came
// from, and comes back only while the trash still holds that very item. Paths are this system's,
// absolute, as bytes.

#include <string>

#include "browse/DesktopServices.h"

namespace trovelin::gio {

// A move is done only when the trash has a whole record of it: an item whose record could not be
// written goes back where it was.
TrashOutcome moveToTrash(const std::string& path);
RestoreOutcome restoreFromTrash(const TrashedItem& item);

}  // namespace trovelin::gio
