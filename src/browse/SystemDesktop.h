#pragma once
// The desktop services of this system: applications through GIO, the file manager over the
// session bus, the trash through GIO.

#include <chrono>

#include "browse/DesktopServices.h"

namespace trovelin {

class SystemDesktop : public DesktopServices {
public:
    // File managers started on demand by the bus need a few seconds for their first answer.
    static constexpr std::chrono::milliseconds fileManagerTimeout{5000};

    std::string contentType(const std::string& path) override;
    std::optional<DesktopApplication> defaultApplication(const std::string& contentType) override;
    std::vector<DesktopApplication> applications(const std::string& contentType) override;
    bool launch(const DesktopApplication& application, const std::vector<std::string>& paths) override;
    bool showItems(const std::vector<std::string>& paths) override;
    bool showFolders(const std::vector<std::string>& paths) override;
    bool showItemProperties(const std::vector<std::string>& paths) override;
    TrashOutcome moveToTrash(const std::string& path) override;
    RestoreOutcome restoreFromTrash(const TrashedItem& item) override;
};

}  // namespace trovelin
