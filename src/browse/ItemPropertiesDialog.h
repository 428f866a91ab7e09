#pragma once
// The properties window of our own, for when no file manager shows one: for each item its name,
// type, location, size, modification time and attribute letters, and for a panel file its header
// and the pictures a load would give.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QDialog>
#include <QString>

#include "panelfile/PanelSummary.h"

namespace trovelin {

class DesktopServices;

struct PropertyRow {
    QString label;
    QString value;

    bool operator==(const PropertyRow&) const = default;
};

struct ItemProperties {
    QString name;
    std::vector<PropertyRow> rows;
};

// `localPath` is this system's path of the item, `location` the drive path of its folder.
ItemProperties describeItem(const std::string& localPath, const std::string& location, DesktopServices& desktop,
                            const std::function<std::optional<PanelSummary>(const std::string&)>& describePanel);

class ItemPropertiesDialog : public QDialog {
public:
    ItemPropertiesDialog(const std::vector<ItemProperties>& items, QWidget* parent);
};

}  // namespace trovelin
