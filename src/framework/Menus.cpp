#include "framework/Menus.h"

namespace trovelin {

TMenuItem::~TMenuItem()
{
    for (TMenuItem* item : items_.items()) item->parentItem_ = nullptr;
    if (parentItem_) parentItem_->remove(this);
}

const ClassInfo& TMenuItem::staticClassInfo()
{
    using C = TMenuItem;
    static const ClassInfo info{
        "TMenuItem",
        &Component::staticClassInfo(),
        {
            published::text("Caption", &C::caption, &C::setCaption, ""),
            published::boolean("Checked", &C::checked, &C::setChecked, false),
            published::boolean("Enabled", &C::enabled, &C::setEnabled, true),
            published::integer("GroupIndex", &C::groupIndex, &C::setGroupIndex, 0),
            published::text("Hint", &C::hint, &C::setHint, ""),
            published::integer("ImageIndex", &C::imageIndex, &C::setImageIndex, -1),
            published::boolean("RadioItem", &C::radioItem, &C::setRadioItem, false),
            published::integer("ShortCut", &C::shortCut, &C::setShortCut, 0),
            published::boolean("Visible", &C::visible, &C::setVisible, true),
            published::event("OnClick", &C::onClick),
        },
        &createComponent<TMenuItem>};
    return info;
}

void TMenuItem::takeReaderParent(Component* parent)
{
    if (auto* item = dynamic_cast<TMenuItem*>(parent))
        item->add(this);
    else if (auto* menu = dynamic_cast<TPopupMenu*>(parent))
        menu->items().add(this);
}

void TMenuItem::setChildOrder(Component* child, int order)
{
    if (auto* item = dynamic_cast<TMenuItem*>(child)) items_.moveToPlace(item, order);
}

void TMenuItem::add(TMenuItem* item)
{
    if (item == this || item->parentItem_ == this) return;
    for (TMenuItem* ancestor = parentItem_; ancestor; ancestor = ancestor->parentItem_)
        if (ancestor == item) return;  // an item cannot hold its own ancestor
    if (item->parentItem_) item->parentItem_->remove(item);
    item->parentItem_ = this;
    items_.append(item);
}

void TMenuItem::remove(TMenuItem* item)
{
    items_.remove(item);
    item->parentItem_ = nullptr;
}

TPopupMenu::TPopupMenu(Component* owner) : Component(owner), items_(new TMenuItem(this)) {}

const ClassInfo& TPopupMenu::staticClassInfo()
{
    using C = TPopupMenu;
    static const ClassInfo info{
        "TPopupMenu",
        &Component::staticClassInfo(),
        {
            published::boolean("AutoPopup", &C::autoPopup, &C::setAutoPopup, true),
            published::boolean("OwnerDraw", &C::ownerDraw, &C::setOwnerDraw, false),
            published::event("OnPopup", &C::onPopup),
        },
        &createComponent<TPopupMenu>};
    return info;
}

const ClassInfo& TBasicAction::staticClassInfo()
{
    static const ClassInfo info{"TBasicAction", &Component::staticClassInfo(), {}, &createComponent<TBasicAction>};
    return info;
}

}  // namespace trovelin
