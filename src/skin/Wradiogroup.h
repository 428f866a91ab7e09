#pragma once
// The skinned radio group: a shaded panel with a captioned frame and one radio button for each
// line of its Items; ItemIndex follows the checked button.

#include <vector>

#include "framework/CustomPanel.h"
#include "framework/Strings.h"

namespace trovelin {

class TWRadioButton;

class TWRadioGroup : public TCustomPanel {
public:
    explicit TWRadioGroup(Component* owner);
    ~TWRadioGroup() override;

    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    TStrings& items() { return items_; }
    void assignItems(const Persistent* other);
    // Takes the lines and rebuilds the buttons.
    void setItems(const std::vector<std::string>& lines);
    std::int32_t itemIndex() const { return itemIndex_; }
    // Kept for later while the buttons do not match Items; otherwise limited to the last
    // button, which it checks (a negative index unchecks them all).
    void setItemIndex(std::int32_t value);
    std::int32_t columns() const { return columns_; }
    void setColumns(std::int32_t value) { columns_ = value; }

    const std::vector<TWRadioButton*>& buttons() const { return buttons_; }
    // Makes one button per line of Items, placed down the group, when Items or the size changed.
    void UpdateButtons();

    void paint(TCanvas& canvas) override;

private:
    void itemsChanged();
    void buttonClicked();
    void destroyButtons();

    TStrings items_;
    std::int32_t itemIndex_ = -1;
    std::int32_t columns_ = 0;
    std::vector<TWRadioButton*> buttons_;
    bool itemsChanged_ = false;
    bool sizeChanged_ = false;
    bool updating_ = false;
    TPoint laidOutSize_;
};

}  // namespace trovelin
