#pragma once
// The panel file rows of the properties window: variant, channel count, title, and the number and
// sizes of the pictures a load would give. The browsing widgets know no panel files; the viewer
// gives them this.

#include "browse/ItemPropertiesDialog.h"

namespace trovelin {

// A name that ends in ".kvr", letter case ignored.
bool hasPanelExtension(const std::string& path);

class PanelFileDescriber : public ContentDescriber {
public:
    // No rows for a file without the panel extension or that is no panel file.
    std::vector<PropertyRow> describe(const std::string& localPath) override;
};

}  // namespace trovelin
