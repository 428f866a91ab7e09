#pragma once
// A desktop that knows no applications and no file manager, and whose trash refuses every item,
// for tests of the browsing windows that do not look at what the desktop would do.

#include <optional>
#include <string>
#include <vector>

#include "browse/DesktopServices.h"

namespace trovelin::testing {

class BareDesktop : public DesktopServices {
public:
    std::string contentType(const std::string&) override { return "application/octet-stream"; }
    std::optional<DesktopApplication> defaultApplication(const std::string&) override { return std::nullopt; }
    std::vector<DesktopApplication> applications(const std::string&) override { return {}; }
    bool launch(const DesktopApplication&, const std::vector<std::string>&) override { return false; }
    bool showItems(const std::vector<std::string>&) override { return false; }
    bool showFolders(const std::vector<std::string>&) override { return false; }
    bool showItemProperties(const std::vector<std::string>&) override { return false; }
    TrashOutcome moveToTrash(const std::string&) override { return {std::nullopt, "the trash is full"}; }
    RestoreOutcome restoreFromTrash(const TrashedItem&) override { return {RestoreOutcome::Gone, "no trash"}; }
};

}  // namespace trovelin::testing
