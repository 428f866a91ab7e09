#pragma once
// The properties window of our own, for when no file manager shows one: for each item its name,
// type, location, size, modification time and attribute letters, and what the program knows of
// the content of its own files. Every text shows as written, never as markup.

#include <string>
#include <vector>

#include <QDialog>
#include <QString>

namespace trovelin {

class DesktopServices;

struct PropertyRow {
    QString label;
    QString value;

    bool operator==(const PropertyRow&) const = default;
};

// What a program knows of the content of its own files (the program provides it, as the desktop
// provides its services): rows that follow the file's own, none for a file it does not know.
class ContentDescriber {
public:
    virtual ~ContentDescriber() = default;
    virtual std::vector<PropertyRow> describe(const std::string& localPath) = 0;
};

struct ItemProperties {
    QString name;
    std::vector<PropertyRow> rows;
};

// `localPath` is this system's path of the item, `location` the drive path of its folder;
// `content` may be null.
ItemProperties describeItem(const std::string& localPath, const std::string& location, DesktopServices& desktop,
                            ContentDescriber* content);

class ItemPropertiesDialog : public QDialog {
public:
    ItemPropertiesDialog(const std::vector<ItemProperties>& items, QWidget* parent);
};

}  // namespace trovelin
