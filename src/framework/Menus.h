#pragma once
// Menus: the menu item class that the class registry knows, and the popup menu that a
// control's PopupMenu property refers to.

#include <string>
#include <vector>

#include "streaming/ChildList.h"
#include "streaming/Component.h"

namespace trovelin {

class TMenuItem : public Component {
public:
    explicit TMenuItem(Component* owner) : Component(owner) {}
    ~TMenuItem() override;

    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    // A menu item read under another item, or under a menu, becomes one of its entries.
    void takeReaderParent(Component* parent) override;
    void setChildOrder(Component* child, int order) override;

    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& value) { caption_ = value; }
    bool checked() const { return checked_; }
    void setChecked(bool value) { checked_ = value; }
    bool enabled() const { return enabled_; }
    void setEnabled(bool value) { enabled_ = value; }
    std::int32_t groupIndex() const { return groupIndex_; }
    void setGroupIndex(std::int32_t value) { groupIndex_ = value; }
    const std::string& hint() const { return hint_; }
    void setHint(const std::string& value) { hint_ = value; }
    std::int32_t imageIndex() const { return imageIndex_; }
    void setImageIndex(std::int32_t value) { imageIndex_ = value; }
    bool radioItem() const { return radioItem_; }
    void setRadioItem(bool value) { radioItem_ = value; }
    std::int32_t shortCut() const { return shortCut_; }
    void setShortCut(std::int32_t value) { shortCut_ = value; }
    bool visible() const { return visible_; }
    void setVisible(bool value) { visible_ = value; }
    MethodRef onClick;

    TMenuItem* parentItem() const { return parentItem_; }
    const std::vector<TMenuItem*>& items() const { return items_.items(); }
    void add(TMenuItem* item);

private:
    void remove(TMenuItem* item);

    std::string caption_;
    bool checked_ = false;
    bool enabled_ = true;
    std::int32_t groupIndex_ = 0;
    std::string hint_;
    std::int32_t imageIndex_ = -1;
    bool radioItem_ = false;
    std::int32_t shortCut_ = 0;
    bool visible_ = true;
    TMenuItem* parentItem_ = nullptr;
    ChildList<TMenuItem> items_;
};

class TPopupMenu : public Component {
public:
    explicit TPopupMenu(Component* owner);

    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    TMenuItem& items() { return *items_; }
    bool autoPopup() const { return autoPopup_; }
    void setAutoPopup(bool value) { autoPopup_ = value; }
    bool ownerDraw() const { return ownerDraw_; }
    void setOwnerDraw(bool value) { ownerDraw_ = value; }
    MethodRef onPopup;

private:
    TMenuItem* items_;  // owned by this menu
    bool autoPopup_ = true;
    bool ownerDraw_ = false;
};

// The action a speed button may be linked to.
class TBasicAction : public Component {
public:
    using Component::Component;
    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }
};

}  // namespace trovelin
