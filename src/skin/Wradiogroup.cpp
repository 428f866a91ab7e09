#include "skin/Wradiogroup.h"

#include <algorithm>

#include "framework/Canvas.h"
#include "framework/ControlProperties.h"
#include "skin/PanelFace.h"
#include "skin/Wradiobutton.h"
#include "streaming/Errors.h"

namespace trovelin {

TWRadioGroup::TWRadioGroup(Component* owner) : TCustomPanel(owner)
{
    setWidth(200);
    setHeight(80);
    laidOutSize_ = {200, 80};
    items_.onChange = [this] { itemsChanged(); };
}

TWRadioGroup::~TWRadioGroup()
{
    items_.onChange = nullptr;
    destroyButtons();
}

const ClassInfo& TWRadioGroup::staticClassInfo()
{
    using C = TWRadioGroup;
    static const ClassInfo info{
        "TWRadioGroup", &TCustomControl::staticClassInfo(),
        controlProperties::table({
            panelProperties(),
            {published::integer("Columns", &C::columns, &C::setColumns, 0),
             published::object("Items", TStrings::staticClassInfo(), &C::items, &C::assignItems),
             published::integer("ItemIndex", &C::itemIndex, &C::setItemIndex, -1)},
        }),
        &createComponent<TWRadioGroup>};
    return info;
}

void TWRadioGroup::assignItems(const Persistent* other)
{
    auto* source = dynamic_cast<const TStrings*>(other);
    if (!source) throw EReadError(messages::invalidPropertyValue);
    items_.assign(*source);
}

void TWRadioGroup::setItems(const std::vector<std::string>& lines)
{
    items_.assign(lines);
}

void TWRadioGroup::itemsChanged()
{
    itemsChanged_ = true;
    UpdateButtons();
}

void TWRadioGroup::destroyButtons()
{
    std::vector<TWRadioButton*> doomed;
    doomed.swap(buttons_);
    // Newest first, as owners and parents look for what leaves them from their newest end.
    for (auto button = doomed.rbegin(); button != doomed.rend(); ++button) delete *button;
}

void TWRadioGroup::UpdateButtons()
{
    if (updating_ || (!itemsChanged_ && !sizeChanged_)) return;
    updating_ = true;
    itemsChanged_ = sizeChanged_ = false;
    laidOutSize_ = {width(), height()};
    const int n = items_.count();
    // Buttons that come or go leave or take parts of the group that only a paint of it shows.
    const bool rebuilt = static_cast<int>(buttons_.size()) != n;
    if (!buttons_.empty() && rebuilt) destroyButtons();
    if (n > 0) {
        const bool tight = bevelWidth() < -1;
        const std::int64_t itemHeight = (std::int64_t{height()} - (tight ? 4 : 20)) / n;
        const std::int64_t topOffset = tight ? 2 : 16;
        const int itemWidth = static_cast<int>(std::max<std::int64_t>(std::int64_t{width()} - 16, INT32_MIN));
        const bool create = buttons_.empty();
        for (int i = 0; i < n; ++i) {
            TWRadioButton* button = create ? buttons_.emplace_back(new TWRadioButton(this)) : buttons_[i];
            button->setCaption(items_[i]);
            button->setTop(static_cast<int>(std::clamp<std::int64_t>(i * itemHeight + topOffset, INT32_MIN, INT32_MAX)));
            button->setWidth(itemWidth);
            if (create) {
                button->setParent(this);
                button->onClickHandler = [this](TControl&) { buttonClicked(); };
                button->setLeft(12);
            } else {
                button->invalidate();
            }
        }
        if (itemIndex_ >= 0) {
            itemIndex_ = std::min(itemIndex_, n - 1);
            buttons_[static_cast<std::size_t>(itemIndex_)]->setChecked(true);
        }
    } else {
        itemIndex_ = -1;
    }
    updating_ = false;
    if (rebuilt) invalidate();
}

void TWRadioGroup::setItemIndex(std::int32_t value)
{
    if (value == itemIndex_) return;
    const int n = items_.count();
    const int built = static_cast<int>(buttons_.size());
    if (built != n || (built == 0 && value != -1)) {
        itemIndex_ = value;
        return;
    }
    itemIndex_ = std::min(value, n - 1);
    if (itemIndex_ < 0) {
        for (TWRadioButton* button : buttons_)
            if (button->checked()) button->setChecked(false);
        return;
    }
    buttons_[static_cast<std::size_t>(itemIndex_)]->setChecked(true);
}

void TWRadioGroup::buttonClicked()
{
    for (std::size_t i = 0; i < buttons_.size(); ++i)
        if (buttons_[i]->checked()) {
            itemIndex_ = static_cast<std::int32_t>(i);
            break;
        }
    click();
}

void TWRadioGroup::paint(TCanvas& canvas)
{
    if (parent() == nullptr) return;
    if (laidOutSize_ != TPoint{width(), height()}) sizeChanged_ = true;
    paintGroupFace(canvas, *this, NegativeBevel::topLineAtMinusOne);
    if (itemsChanged_ || sizeChanged_) UpdateButtons();
}

}  // namespace trovelin
